#include "peers/digit_text.h"

namespace bench {

char* WriteDigits(std::uint64_t value, char* out) {
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) {
        *out++ = reversed[--count];
    }
    return out;
}

char* WriteGrouped(const char* digits, std::size_t count, char* out) {
    for (std::size_t i = 0; i < count; ++i) {
        *out++ = digits[i];
        const std::size_t left = count - 1 - i;
        if (left > 0 && left % 3 == 0) {
            *out++ = ',';
        }
    }
    return out;
}

char* WriteFixedWidth(std::uint64_t value, int width, char* out) {
    for (int place = width - 1; place >= 0; --place) {
        out[place] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

int DigitCount(std::uint64_t value) {
    int count = 1;
    while (value >= 10) {
        value /= 10;
        ++count;
    }
    return count;
}

ScannedNumber ScanNumber(std::string_view text) {
    ScannedNumber scanned;
    std::size_t position = 0;
    if (!text.empty() && text.front() == '-') {
        scanned.negative = true;
        position = 1;
    }
    bool inFraction = false;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c == '.') {
            if (inFraction) {
                break;
            }
            inFraction = true;
        } else if (c == ',') {
            continue;
        } else if (c < '0' || c > '9' || scanned.length == BudgetDigits) {
            break;
        } else {
            scanned.digits = scanned.digits * 10 + static_cast<std::uint64_t>(c - '0');
            scanned.text[scanned.length++] = c;
            scanned.fractionDigits += inFraction ? 1 : 0;
        }
    }
    if (scanned.length == 0) {
        scanned.text[scanned.length++] = '0';
    }
    scanned.text[scanned.length] = '\0';
    return scanned;
}

}  // namespace bench
