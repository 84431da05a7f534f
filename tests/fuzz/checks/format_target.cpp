// Format of any record, hand-made ones with negative or huge fields included, stays within
// the buffer it is given and writes only the display's characters.

#include <optional>
#include <string>

#include "byte_reader.h"
#include "check.h"
#include "decimal_properties.h"
#include "exact_decimal.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional sign, digits with a comma after every three counted from the right when
// grouping, then optionally a point and digits.
bool HasNumberShape(const std::string& text, bool negative, bool grouping) {
    std::size_t i = 0;
    if (negative) {
        if (text.empty() || text[0] != '-') {
            return false;
        }
        i = 1;
    }
    const std::size_t point = text.find('.', i);
    const std::string whole =
        text.substr(i, point == std::string::npos ? std::string::npos : point - i);
    if (whole.empty()) {
        return false;
    }
    // "1,234" has its comma four places from the right; ",123" is no number.
    if (grouping && whole.size() % 4 == 0) {
        return false;
    }
    for (std::size_t j = 0; j < whole.size(); ++j) {
        const bool commaPlace = grouping && (whole.size() - j) % 4 == 0;
        if (commaPlace ? whole[j] != ',' : !IsDigit(whole[j])) {
            return false;
        }
    }
    if (point == std::string::npos) {
        return true;
    }
    const std::string fraction = text.substr(point + 1);
    return fraction.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void CheckFormat(Input input) {
    ByteReader reader(input);
    const DecimalValue value = TakeRawRecord(reader);
    const bool grouping = reader.TakeFlag();
    const auto smallerSize = static_cast<std::size_t>(reader.TakeByte() % FormatBufferSize);

    const std::string full = FormattedText(value, grouping);
    FUZZ_REQUIRE(HasNumberShape(full, value.negative != 0, grouping));
    if (IsWellFormedRecord(value) && value.numerator < value.denominator) {
        FUZZ_REQUIRE(full == ExpectedText(value, grouping));
    }

    // A smaller buffer gets as much of the text as fits, still terminated; none at all
    // when it has no room.
    const std::optional<std::string> cut = FormatInto(value, smallerSize, grouping);
    if (smallerSize > 0) {
        FUZZ_REQUIRE(cut == full.substr(0, smallerSize - 1));
    }
}

}  // namespace fuzzcheck
