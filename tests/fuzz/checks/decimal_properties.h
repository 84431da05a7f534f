#pragma once

// Properties of DecimalValue records shared by the targets.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "byte_reader.h"
#include "decimal/decimal_value.h"

namespace fuzzcheck {

// A record of five fields as the input's next bytes give them, nothing checked.
DecimalValue TakeRawRecord(ByteReader& reader);

// The display's longest text with grouping, terminator included: a sum of twelve
// whole-number digits and eleven fraction digits with its sign, commas and point.
inline constexpr std::size_t LongestGroupedText = 29;

// All five fields alike (Equals leaves out the error code and folds the sign flag).
bool SameRecord(const DecimalValue& a, const DecimalValue& b);

// What Normalize establishes: 0 <= numerator < denominator = 10^k (k <= 18) without
// trailing fraction zeros, at most twelve digits, a whole-number part within capacity.
bool IsNormalised(const DecimalValue& value);

// Fraction digits of a record whose denominator is a power of ten.
int FractionDigits(const DecimalValue& value);
// Digits of the whole-number part, 0 counting as one.
int WholeDigits(const DecimalValue& value);

// Format into a heap buffer of exactly size bytes, so that a write past it is caught; the
// text up to its terminator, or nothing when the buffer holds no terminator.
std::optional<std::string> FormatInto(const DecimalValue& value, std::size_t size, bool grouping);

// Format into a buffer of FormatBufferSize bytes; checks that the text is terminated and
// made of "-", digits, "," and "." only.
std::string FormattedText(const DecimalValue& value, bool grouping);

// The text Format must give for a well-formed record whose numerator is below its
// denominator, built digit by digit from the fields.
std::string ExpectedText(const DecimalValue& value, bool grouping);

bool IsDisplayCharacter(char c);

}  // namespace fuzzcheck
