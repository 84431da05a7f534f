// Runs one DecimalValue operation over one operand set many times, for instruction counts:
//   valgrind --tool=callgrind --toggle-collect='Run*' op_profile Multiply twelve-digit 10000
// Start-up and reading the operands stay outside the Run* functions and out of the count.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "decimal/decimal_value.h"
#include "operands.h"

namespace {

constexpr long DefaultRounds = 10000;

template <Operation operation>
[[gnu::noinline]] std::int64_t RunArithmetic(std::span<const OperandPair> pairs, long rounds) {
    std::vector<DecimalValue> first(pairs.size());
    std::vector<DecimalValue> second(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        first[i].Parse(pairs[i].first);
        second[i].Parse(pairs[i].second);
    }
    std::int64_t checksum = 0;
    for (long round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            checksum += Apply<operation>(first[i], second[i]).numerator;
        }
    }
    return checksum;
}

[[gnu::noinline]] std::int64_t RunFormat(std::span<const std::string_view> texts, long rounds) {
    std::vector<DecimalValue> values(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        values[i].Parse(texts[i]);
    }
    std::int64_t checksum = 0;
    char text[FormatBufferSize];
    for (long round = 0; round < rounds; ++round) {
        for (const DecimalValue& value : values) {
            value.Format(text, sizeof(text), true);
            checksum += text[1];
        }
    }
    return checksum;
}

[[gnu::noinline]] std::int64_t RunParse(std::span<const std::string_view> texts, long rounds) {
    const std::vector<std::string> copies(texts.begin(), texts.end());
    std::int64_t checksum = 0;
    for (long round = 0; round < rounds; ++round) {
        for (const std::string& text : copies) {
            DecimalValue value;
            value.Parse(text);
            checksum += value.numerator;
        }
    }
    return checksum;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: op_profile Add|Subtract|Multiply|Divide|Format|Parse set [rounds]\n");
        return 2;
    }
    const std::string_view operation = argv[1];
    const std::string_view setName = argv[2];
    const long rounds = argc > 3 ? std::strtol(argv[3], nullptr, 10) : DefaultRounds;
    for (const OperandSet& set : OperandSets()) {
        if (set.name != setName) {
            continue;
        }
        std::int64_t checksum = 0;
        if (operation == "Add") {
            checksum = RunArithmetic<Operation::Add>(set.add, rounds);
        } else if (operation == "Subtract") {
            checksum = RunArithmetic<Operation::Subtract>(set.subtract, rounds);
        } else if (operation == "Multiply") {
            checksum = RunArithmetic<Operation::Multiply>(set.multiply, rounds);
        } else if (operation == "Divide") {
            checksum = RunArithmetic<Operation::Divide>(set.divide, rounds);
        } else if (operation == "Format") {
            checksum = RunFormat(set.texts, rounds);
        } else if (operation == "Parse") {
            checksum = RunParse(set.texts, rounds);
        } else {
            std::fprintf(stderr, "op_profile: no operation %s\n", argv[1]);
            return 2;
        }
        std::printf("%s %s: %ld rounds, checksum %lld\n", argv[1], argv[2], rounds,
                    static_cast<long long>(checksum));
        return 0;
    }
    std::fprintf(stderr, "op_profile: no operand set %s\n", argv[2]);
    return 2;
}
