#include "operands.h"

namespace {

// Small whole numbers, as in 3 x 125.
constexpr OperandPair SmallPairs[] = {{"7", "3"}, {"42", "6"}, {"125", "8"}, {"9", "-4"}};
constexpr std::string_view SmallTexts[] = {"7", "42", "-125", "9"};

// Twelve significant digits on both sides.
constexpr OperandPair TwelveDigitPairs[] = {{"123456.789012", "4321.98765432"},
                                            {"98765432.1098", "1234.56789012"},
                                            {"5555.55555555", "-12.3456789012"},
                                            {"271828182845", "3.14159"}};
constexpr std::string_view TwelveDigitTexts[] = {"123456.789012", "98765432.1098",
                                                 "-5555.55555555", "271828182845"};

// Eleven fraction digits, the most a value below 10 keeps.
constexpr OperandPair LongFractionPairs[] = {{"0.12345678901", "0.98765432109"},
                                             {"3.14159265358", "2.71828182845"},
                                             {"0.00000000001", "0.5"},
                                             {"1.41421356237", "-0.70710678118"}};
constexpr std::string_view LongFractionTexts[] = {"0.12345678901", "-3.14159265358",
                                                  "0.00000000001", "1.41421356237"};

// Next to 999,999,999,999, with partners that keep each result in range.
constexpr OperandPair NearMaxAddPairs[] = {{"999999999998", "1"},
                                           {"999999999000", "999.5"},
                                           {"-999999999990", "-9"},
                                           {"999999999999", "-0.00000000001"}};
constexpr OperandPair NearMaxSubtractPairs[] = {{"999999999999", "1"},
                                                {"999999999999", "0.00000000001"},
                                                {"-999999999000", "998.5"},
                                                {"1", "999999999999"}};
constexpr OperandPair NearMaxMultiplyPairs[] = {{"999999999999", "0.5"},
                                                {"999999", "999999"},
                                                {"499999999999", "2"},
                                                {"999999.999999", "-999999.999999"}};
constexpr OperandPair NearMaxDividePairs[] = {{"999999999999", "7"},
                                              {"999999999998", "3"},
                                              {"999999999999", "1.5"},
                                              {"-999999999999", "999999999998"}};
constexpr std::string_view NearMaxTexts[] = {"999999999999", "-999999999998",
                                             "999999999999", "999999999000"};

constexpr OperandSet Sets[] = {
    {"small", SmallPairs, SmallPairs, SmallPairs, SmallPairs, SmallTexts},
    {"twelve-digit", TwelveDigitPairs, TwelveDigitPairs, TwelveDigitPairs, TwelveDigitPairs,
     TwelveDigitTexts},
    {"long-fraction", LongFractionPairs, LongFractionPairs, LongFractionPairs, LongFractionPairs,
     LongFractionTexts},
    {"near-max", NearMaxAddPairs, NearMaxSubtractPairs, NearMaxMultiplyPairs, NearMaxDividePairs,
     NearMaxTexts},
};

}  // namespace

std::span<const OperandPair> OperandSet::For(Operation operation) const {
    switch (operation) {
        case Operation::Add: return add;
        case Operation::Subtract: return subtract;
        case Operation::Multiply: return multiply;
        case Operation::Divide: return divide;
    }
    return add;
}

std::span<const OperandSet> OperandSets() {
    return Sets;
}

std::string_view OperationName(Operation operation) {
    switch (operation) {
        case Operation::Add: return "Add";
        case Operation::Subtract: return "Subtract";
        case Operation::Multiply: return "Multiply";
        case Operation::Divide: return "Divide";
    }
    return "?";
}
