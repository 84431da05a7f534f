// The engine on arbitrary machines: command streams, and the tax files it reads.

#include <cstring>
#include <optional>

#include "fuzz.h"

namespace fuzzcheck {

namespace {

std::int32_t Upper(std::int32_t c) {
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

std::int64_t WholeRate(const DecimalValue& rate) {
    FUZZ_REQUIRE(rate.errorCode == DecimalError::None && rate.numerator == 0 &&
                 rate.denominator == 1);
    return rate.negative != 0 ? -rate.integerPart : rate.integerPart;
}

// Every register but the tax rate a plain zero, every state word but the rounding zero.
bool IsZeroedStart(const CalcEngine& engine) {
    EngineFields cleared(engine);
    cleared.registers = {};
    cleared.registers[TaxRateRegister] = engine.taxRate;
    cleared.words = {0, 0, 0, 0, 0, static_cast<std::uint32_t>(engine.taxRounding)};
    return EngineFields(engine) == cleared;
}

}  // namespace

void CheckEngineShape(const CalcEngine& e) {
    const EngineFields s(e);  // constant, state, point, pending, tax state, rounding
    FUZZ_REQUIRE(s.words[0] <= 4 && s.words[1] <= 5 && s.words[2] <= 1 && s.words[3] <= 4 &&
                 s.words[4] <= 3 && s.words[5] <= 2);
    // An error code may stand next to digits typed after a tax step left it unlatched.
    for (const DecimalValue* v : {&e.display, &e.leftOperand, &e.rightOperand, &e.memory,
                                  &e.grandTotal, &e.constant, &e.taxBase}) {
        FUZZ_REQUIRE(v->errorCode <= DecimalError::Overflow);
        FUZZ_REQUIRE(IsHeld(*v) && v->negative <= 1);
    }
    FUZZ_REQUIRE(FormattedText(e.display, true).size() < 29);
    // The error state shows its error; an operator waits while the second number is typed,
    // and may wait in Waiting, never elsewhere.
    if (e.state == EngineState::Error) {
        FUZZ_REQUIRE(e.display.errorCode != DecimalError::None);
    } else if (e.state == EngineState::EnteringSecond) {
        FUZZ_REQUIRE(e.pendingOperator != Operator::None);
    } else if (e.state != EngineState::Waiting) {
        FUZZ_REQUIRE(e.pendingOperator == Operator::None);
    }
}

std::int32_t CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard,
                            std::int32_t character) {
    const EngineFields before(engine);
    const std::optional<std::string> textBefore = clipboard.text;
    const std::int32_t upper = Upper(character);
    const std::int32_t result = engine.HandleCommand(character);
    FUZZ_REQUIRE(result == 0 || result == 1);
    CheckEngineShape(engine);
    const EngineFields after(engine);
    // The tax settings are read once, when the engine is made.
    FUZZ_REQUIRE(SameRecord(after.registers[TaxRateRegister], before.registers[TaxRateRegister]));
    FUZZ_REQUIRE(after.words[RoundingWord] == before.words[RoundingWord]);
    FUZZ_REQUIRE(upper == 'S' || clipboard.text == textBefore);
    // Which command does what is the engine tests' business; here what every one keeps.
    FUZZ_REQUIRE(!IsAllClear(character) || (result == 1 && IsZeroedStart(engine)));
    return result;
}

void CheckEngineCommands(Input input) {
    // Setup flags: key present, data folder set, program folder set, rate file present,
    // rounding file present, clipboard text, clipboard held elsewhere, out of memory.
    ByteReader reader(input);
    const LocalDate today{reader.Take<std::int16_t>(), reader.TakeByte()};
    Machine machine(today);
    const std::uint8_t flags = reader.TakeByte();
    const std::string dataFolder = reader.TakeText(reader.Take<std::uint16_t>() % 320);
    const std::string programFolder = reader.TakeText(reader.TakeByte());
    const std::string rateFile = reader.TakeText(reader.TakeByte() % 16);
    const std::string roundingFile = reader.TakeText(reader.TakeByte() % 8);
    const std::string clipboardText = reader.TakeText(reader.TakeByte());
    const auto given = [flags](int flag, const std::string& text) {
        return (flags & flag) != 0 ? std::optional(text) : std::nullopt;
    };
    machine.installation.keyPresent = (flags & 0x01) != 0;
    machine.installation.dataFolder = given(0x02, dataFolder);
    machine.installation.programFolder = given(0x04, programFolder);
    // The engine sees the folder as a C string.
    machine.AddTaxFiles(dataFolder.c_str(), (flags & 0x08) != 0 ? &rateFile : nullptr,
                        (flags & 0x10) != 0 ? &roundingFile : nullptr);
    machine.clipboard.text = given(0x20, clipboardText);
    machine.clipboard.available = (flags & 0x40) == 0;
    machine.clipboard.memoryLeft = (flags & 0x80) == 0;

    CalcEngine engine(machine.Platform());
    CheckEngineShape(engine);
    FUZZ_REQUIRE(IsZeroedStart(engine));
    // Byte 0xFE escapes: toggle held, toggle memory, new clipboard text, a wide character.
    while (!reader.Rest().empty()) {
        const std::uint8_t byte = reader.TakeByte();
        if (byte != 0xFE) {
            CheckedCommand(engine, machine.clipboard, byte);
            continue;
        }
        const std::uint8_t escape = reader.TakeByte() % 4;
        machine.clipboard.available ^= escape == 0;
        machine.clipboard.memoryLeft ^= escape == 1;
        if (escape == 2) {
            machine.clipboard.text = reader.TakeText(reader.TakeByte() % 32);
        } else if (escape == 3) {
            CheckedCommand(engine, machine.clipboard, reader.Take<std::uint16_t>());
        }
    }
    CheckedCommand(engine, machine.clipboard, 'A');  // however it ended, AC starts afresh
}

void CheckTaxFiles(Input input) {
    ByteReader reader(input);
    const std::uint8_t flags = reader.TakeByte();
    const LocalDate today{reader.Take<std::int16_t>(), reader.TakeByte()};
    // Folders around the length at which the file names no longer fit in 260 bytes.
    const std::string folder = "C:\\" + std::string(reader.Take<std::uint16_t>() % 270, 'f');
    const std::string rateFile = reader.TakeText(reader.TakeByte() % 16);
    const std::string roundingFile = reader.TakeText(reader.TakeByte() % 8);

    const std::int64_t dateRate = DefaultTaxRate(today);
    Machine machine(today);
    machine.installation.keyPresent = (flags & 0x01) != 0;
    machine.installation.dataFolder = (flags & 0x02) != 0 ? std::optional(folder) : std::nullopt;
    machine.installation.programFolder = folder;  // never stands in for the data folder
    machine.AddTaxFiles(folder, (flags & 0x04) != 0 ? &rateFile : nullptr,
                        (flags & 0x08) != 0 ? &roundingFile : nullptr);
    const auto read = [&](std::uint8_t present, std::string_view name) {
        return (flags & 0x03) == 0x03 && (flags & present) != 0 &&
               folder.size() + name.size() < PathBufferSize;
    };
    CalcEngine engine(machine.Platform());
    CheckEngineShape(engine);
    FUZZ_REQUIRE(IsZeroedStart(engine));

    // What is not read leaves the rate by date and truncation; the decoding itself is the
    // tax tests' business.
    const std::int64_t rate = WholeRate(engine.taxRate);
    FUZZ_REQUIRE(rate >= -99'999'999 && rate <= 999'999'999);
    FUZZ_REQUIRE(read(0x04, RateFileName) || rate == dateRate);
    FUZZ_REQUIRE(read(0x08, RoundingFileName) || engine.taxRounding == TaxRounding::Truncate);
}

}  // namespace fuzzcheck
