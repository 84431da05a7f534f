#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs: the calculator's known edge cases, each encoded the
way its target reads its input. Run it again after changing an encoding."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAX_INTEGER = 999_999_999_999


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def record(integer, numerator, denominator, negative=0, error=0):
    return struct.pack("<qqqII", integer, numerator, denominator, negative, error)


def held(integer, fraction_digits=0, numerator=0, negative=0, normalise=False, typed_digits=None):
    """A record the engine can hold: whole digits and fraction digits, then the flags."""
    whole_digits = typed_digits if typed_digits is not None else len(str(integer))
    shape = whole_digits | (fraction_digits << 4)
    flags = negative | (0x08 if normalise else 0)
    return struct.pack("<BQQB", shape, integer, numerator, flags)


# Parse: pasted texts.
texts = {
    "grouped": b"1,234.5", "letter_ends": b"12a3", "second_point": b"1.2.3", "negative": b"-12",
    "minus_zero": b"-0", "minus_zero_fraction": b"-0.000", "point_first": b".5",
    "thirteen_digits": b"1234567890123", "letter_first": b"A1", "empty": b"", "space_first": b" 12",
    "line_end": b"12\r\n", "leading_zeros": b"0000000000001", "budget_cut": b"0.123456789012",
    "tiny_negative": b"-0.000000000001", "inner_terminator": b"12\x0034", "high_bytes": b"\x82\x4f12",
    "largest": b"999,999,999,999", "commas_in_fraction": b"1.2,3,4", "lone_minus": b"-",
}
for name, text in texts.items():
    write("parse", name, text)

# Format: five fields, the grouping flag, a smaller buffer size.
records = {
    "grouped_negative": record(1234567, 5, 10, 1), "largest": record(MAX_INTEGER, 0, 1),
    "zero": record(0, 0, 1), "hundredths": record(0, 5, 100), "typed_zeros": record(12, 0, 100),
    "minus_zero": record(0, 0, 1, 1), "sum_of_23_digits": record(999_999_999_998, 99_999_999_999, 10**11),
    "huge_denominator": record(2**63 - 1, 2**63 - 1, 10**18, 7),
    "lowest_fields": record(-(2**63), -(2**63), -(2**63), 2**32 - 1, 2**32 - 1),
    "zero_denominator": record(5, 3, 0), "numerator_too_large": record(1, 12345, 10),
}
for name, fields in records.items():
    write("format", name + "_grouped", fields + bytes([1, 10]))
    write("format", name + "_plain", fields + bytes([0, 0]))

# Arithmetic: two records the engine can hold (or raw ones after a 0 byte).
pairs = {
    "add_aligned": (held(0, 1, 5), held(0, 2, 25)),
    "add_carry": (held(0, 11, 99_999_999_999), held(0, 11, 99_999_999_999)),
    "subtract_typed_zeros": (held(0, 1, 5), held(0, 2, 50)),
    "overflow_sum": (held(MAX_INTEGER), held(1)),
    "overflow_difference": (held(MAX_INTEGER, negative=1), held(1)),
    "sum_not_cut": (held(11, 1, 5), held(0, 11, 12_345_678_901)),
    "wrapping_product": (held(4_294_967_296), held(4_294_967_296)),
    "product_cut": (held(999_999, 6, 999_999), held(999_999, 6, 999_999)),
    "product_trailing_zeros": (held(9, 11, 10_000_000_001), held(9)),
    "product_tiny_negative": (held(0, 6, 1, negative=1), held(0, 6, 1)),
    "third": (held(1), held(3)), "seventh": (held(22), held(7)),
    "divide_by_tenth": (held(12_345_678_901), held(0, 1, 3)),
    "divide_overflow": (held(999_999_999_999), held(0, 1, 5)),
    "divide_tiny": (held(0, 9, 1), held(3)),
    "divide_by_zero": (held(5), held(0)), "zero_by_zero": (held(0), held(0)),
    "divide_negative_tiny": (held(1, negative=1), held(MAX_INTEGER)),
    "minus_zero_operand": (held(0, negative=1), held(0, 3, 1, negative=1)),
}
for name, (a, b) in pairs.items():
    write("arithmetic", name, bytes([1]) + a + b)
write("arithmetic", "raw_extremes", bytes([0]) + record(2**63 - 1, 2**63 - 1, 10**18) + record(-(2**63), -1, -1, 1))
# A last byte types a digit into both (0x10: after the point, 0x20: a new number).
write("arithmetic", "digit_past_twelve", bytes([1]) + held(123_456_789_012) + held(0, 11, 12_345_678_901) + bytes([0x13]))
write("arithmetic", "digit_new_number", bytes([1]) + held(5) + held(0, 1, 5, negative=1) + bytes([0x27]))
write("arithmetic", "digit_raw_records", bytes([0]) + record(-(2**63), 2**62, 0, 1, 9) + record(MAX_INTEGER, 5, 10) + bytes([0x19]))
write("arithmetic", "raw_zero_denominators", bytes([0]) + record(5, 7, 0) + record(3, 1, 0, 1))

# Engine commands: date, flags, data folder, program folder, rate file, rounding file,
# clipboard text, then command bytes (0xFE escapes: 0 hold, 1 memory, 2 text, 3 wide).
def machine(commands, flags=0, year=2015, month=1, data=b"", program=b"", rate=b"", rounding=b"", clip=b""):
    return (struct.pack("<hB", year, month) + bytes([flags]) + struct.pack("<H", len(data)) + data
            + bytes([len(program)]) + program + bytes([len(rate)]) + rate + bytes([len(rounding)])
            + rounding + bytes([len(clip)]) + clip + commands)

INSTALLED = 0x01 | 0x02 | 0x04 | 0x08 | 0x10
write("engine_commands", "clear_entry", machine(b"12+5C3="))
write("engine_commands", "divide_by_zero_locks", machine(b"1/0=123+-*/=%CDGLMPRSTXZ.A5="))
write("engine_commands", "memory_and_total", machine(b"5P3L R G T A R"))
write("engine_commands", "constant", machine(b"2*3===5=%"))
write("engine_commands", "tax_cycle", machine(b"1000ZZZXXX", INSTALLED, data=b"C:\\F", rate=b"\x01\x38", rounding=b"\x01U"))
write("engine_commands", "tax_overflow", machine(b"999999999999ZZZ12+3=", INSTALLED, data=b"C:\\F", rate=b"\x09999999999"))
write("engine_commands", "paste_and_copy", machine(b"5+DS=DS3", 0x20, clip=b"1,234.5"))
# Only the first 19 characters count: the twentieth digit here is never pasted.
write("engine_commands", "paste_twentieth_character", machine(b"D", 0x20, clip=b"," * 19 + b"5"))
write("engine_commands", "paste_held", machine(b"D\xfe\x00D\xfe\x01S\xfe\x02\x051.2.3D", 0x20 | 0x40, clip=b"77"))
write("engine_commands", "wide_characters", machine(b"1\xfe\x03\x41\x01+\xfe\x03\x31\x00=\xfe\x03\xff\xff"))
write("engine_commands", "long_folder", machine(b"100Z", INSTALLED, data=b"C:\\" + b"d" * 250, rate=b"\x01\x35"))
write("engine_commands", "overflow_sum", machine(b"999999999999+1=A999999999999.5+.99999999999=S"))

# Tax files read at start-up (the check holds the rate and rule in use to what the files
# give), then a tax key to show the rate in use.
def files(rate, rounding=b"", flags=INSTALLED, year=2015, month=1, folder_length=10):
    return machine(b"1000Z", flags, year, month, data=b"C:\\" + b"f" * folder_length, rate=rate, rounding=rounding)

rates = {
    "digit": b"\x01\x38", "two_digits": b"\x02\x31\x30", "space_and_percent": b"\x03\x20\x35\x25",
    "minus": b"\x02\x2d\x35", "letter": b"\x01\x41", "count_zero": b"\x00", "count_ten": b"\x0a12345678901",
    "count_negative": b"\x85\x31", "count_ff": b"\xff\x31", "nine_nines": b"\x09999999999",
    "nine_announced_two_present": b"\x09\x31\x32", "empty": b"", "one_byte": b"\x01",
    "minus_eight_nines": b"\x09-99999999",
}
for name, rate in rates.items():
    write("engine_commands", "rate_" + name, files(rate))
roundings = {"up": b"\x01U", "half": b"\x01F", "lower_u": b"\x01u", "count_two": b"\x02U",
             "trailing": b"\x01UA", "count_only": b"\x01", "empty": b""}
for name, rounding in roundings.items():
    write("engine_commands", "rounding_" + name, files(b"\x01\x38", rounding))
write("engine_commands", "no_key", files(b"\x01\x38", b"\x01U", flags=INSTALLED & ~0x01))
write("engine_commands", "no_data_folder", files(b"\x01\x38", b"\x01U", flags=INSTALLED & ~0x02))
for name, length in {"folder_longest_for_both": 234, "folder_too_long_for_rounding": 235,
                     "folder_fits_rate_only": 236, "folder_longest_for_rate": 237,
                     "folder_too_long_for_rate": 238}.items():
    write("engine_commands", name, files(b"\x01\x35", b"\x01U", folder_length=length))
write("engine_commands", "before_april_2014", files(b"", flags=0x00, year=2014, month=3))
