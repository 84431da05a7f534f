// Whatever text is pasted, Parse gives a normalised number without an error code, which
// the display can show and which reads back to itself.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "decimal_properties.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

DecimalValue Parsed(std::string_view text) {
    DecimalValue value(DecimalError::Overflow);  // Parse must replace every field
    value.integerPart = 7;
    value.negative = 1;
    value.Parse(text);
    return value;
}

void CheckParsedValue(const DecimalValue& value) {
    FUZZ_REQUIRE(value.errorCode == DecimalError::None);
    FUZZ_REQUIRE(IsNormalised(value));
    DecimalValue normalised = value;
    normalised.Normalize();
    FUZZ_REQUIRE(SameRecord(normalised, value));

    for (bool grouping : {true, false}) {
        const std::string text = FormattedText(value, grouping);
        FUZZ_REQUIRE(text.size() < LongestGroupedText);
        FUZZ_REQUIRE(text == ExpectedText(value, grouping));
        // What the display shows, or the copy puts on the clipboard, pastes back unchanged;
        // only "-0" pastes as 0.
        const bool minusZero = value.IsZero() && value.negative != 0;
        FUZZ_REQUIRE(SameRecord(Parsed(text), minusZero ? DecimalValue() : value));
    }
}

}  // namespace

void CheckParse(Input input) {
    // An exactly sized copy, so that a read past the end of the text is caught.
    const std::vector<char> bytes(input.begin(), input.end());
    const std::string_view whole(bytes.data(), bytes.size());
    const DecimalValue value = Parsed(whole);
    CheckParsedValue(value);

    // The terminator ends the text: what follows it never counts.
    const std::size_t end = whole.find('\0');
    if (end != std::string_view::npos) {
        FUZZ_REQUIRE(SameRecord(Parsed(whole.substr(0, end)), value));
    }
    // The same text as a C string with its terminator.
    const std::string terminated(whole.substr(0, end));
    FUZZ_REQUIRE(
        SameRecord(Parsed(std::string_view(terminated.c_str(), terminated.size() + 1)), value));

    // Any character other than a digit, "," or "." (after a leading "-") ends the scan; the
    // rest of the text is ignored.
    const std::size_t start = !whole.empty() && whole.front() == '-' ? 1 : 0;
    const std::size_t stop = whole.find_first_not_of(std::string_view("0123456789,."), start);
    if (stop != std::string_view::npos) {
        FUZZ_REQUIRE(SameRecord(Parsed(whole.substr(0, stop)), value));
    }
    // Minus zero reads as an unsigned 0, with or without zero fraction digits. (A tiny
    // negative fraction cut away by the digit budget, -0.000000000001, does read as -0.)
    if (value.IsZero() && value.negative != 0) {
        const std::string_view scanned = whole.substr(0, stop);
        FUZZ_REQUIRE(scanned.find_first_of("123456789") != std::string_view::npos);
    }
}

}  // namespace fuzzcheck
