// DecimalValue against what a developer would otherwise pick: IEEE decimal64 and GMP
// rationals cut to twelve digits, on the same operands, in the same binary.
// Names: <operation>/<operand set>/<number type>; items per second are operations.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "agreement.h"
#include "decimal/decimal_value.h"
#include "operands.h"
#include "peers/decimal64_peer.h"
#include "peers/rational_peer.h"

using bench::Decimal64;
using bench::Rational;
using bench::RationalCalculator;

namespace {

constexpr std::size_t TextSize = 64;
constexpr bool DisplayGrouping = true;

template <Operation operation>
Decimal64 Apply(Decimal64 a, Decimal64 b) {
    if constexpr (operation == Operation::Add) {
        return a + b;
    } else if constexpr (operation == Operation::Subtract) {
        return a - b;
    } else if constexpr (operation == Operation::Multiply) {
        return a * b;
    } else {
        return a / b;
    }
}

template <Operation operation>
bool Apply(RationalCalculator& calculator, const Rational& a, const Rational& b, Rational& result) {
    if constexpr (operation == Operation::Add) {
        return calculator.Add(a, b, result);
    } else if constexpr (operation == Operation::Subtract) {
        return calculator.Subtract(a, b, result);
    } else if constexpr (operation == Operation::Multiply) {
        return calculator.Multiply(a, b, result);
    } else {
        return calculator.Divide(a, b, result);
    }
}

void CountItems(benchmark::State& state, std::size_t perIteration) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(perIteration));
}

template <Operation operation>
void KarvoldArithmetic(benchmark::State& state, std::span<const OperandPair> pairs) {
    std::vector<DecimalValue> first(pairs.size());
    std::vector<DecimalValue> second(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        first[i].Parse(pairs[i].first);
        second[i].Parse(pairs[i].second);
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            DecimalValue result = Apply<operation>(first[i], second[i]);
            benchmark::DoNotOptimize(result);
        }
    }
    CountItems(state, pairs.size());
}

template <Operation operation>
void Decimal64Arithmetic(benchmark::State& state, std::span<const OperandPair> pairs) {
    std::vector<Decimal64> first;
    std::vector<Decimal64> second;
    for (const OperandPair& pair : pairs) {
        first.push_back(bench::ParseDecimal64(pair.first));
        second.push_back(bench::ParseDecimal64(pair.second));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            Decimal64 result = Apply<operation>(first[i], second[i]);
            benchmark::DoNotOptimize(result);
        }
    }
    CountItems(state, pairs.size());
}

template <Operation operation>
void RationalArithmetic(benchmark::State& state, std::span<const OperandPair> pairs) {
    RationalCalculator calculator;
    std::vector<std::unique_ptr<Rational>> first;
    std::vector<std::unique_ptr<Rational>> second;
    for (const OperandPair& pair : pairs) {
        first.push_back(std::make_unique<Rational>());
        second.push_back(std::make_unique<Rational>());
        calculator.Parse(pair.first, *first.back());
        calculator.Parse(pair.second, *second.back());
    }
    Rational result;
    for (auto _ : state) {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            bool inRange = Apply<operation>(calculator, *first[i], *second[i], result);
            benchmark::DoNotOptimize(inRange);
            benchmark::DoNotOptimize(result.Get());
        }
    }
    CountItems(state, pairs.size());
}

void KarvoldFormat(benchmark::State& state, std::span<const std::string_view> texts) {
    std::vector<DecimalValue> values(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        values[i].Parse(texts[i]);
    }
    char buffer[TextSize];
    for (auto _ : state) {
        for (const DecimalValue& value : values) {
            value.Format(buffer, sizeof(buffer), DisplayGrouping);
            benchmark::DoNotOptimize(buffer);
            benchmark::ClobberMemory();
        }
    }
    CountItems(state, texts.size());
}

void Decimal64Format(benchmark::State& state, std::span<const std::string_view> texts) {
    std::vector<Decimal64> values;
    for (const std::string_view text : texts) {
        values.push_back(bench::ParseDecimal64(text));
    }
    char buffer[TextSize];
    for (auto _ : state) {
        for (const Decimal64 value : values) {
            bench::FormatDecimal64(value, buffer, DisplayGrouping);
            benchmark::DoNotOptimize(buffer);
            benchmark::ClobberMemory();
        }
    }
    CountItems(state, texts.size());
}

void RationalFormat(benchmark::State& state, std::span<const std::string_view> texts) {
    RationalCalculator calculator;
    std::vector<std::unique_ptr<Rational>> values;
    for (const std::string_view text : texts) {
        values.push_back(std::make_unique<Rational>());
        calculator.Parse(text, *values.back());
    }
    char buffer[TextSize];
    for (auto _ : state) {
        for (const auto& value : values) {
            calculator.Format(*value, buffer, DisplayGrouping);
            benchmark::DoNotOptimize(buffer);
            benchmark::ClobberMemory();
        }
    }
    CountItems(state, texts.size());
}

// The texts are copied to the heap so that their contents are not known at compile time.
std::vector<std::string> CopiedTexts(std::span<const std::string_view> texts) {
    return {texts.begin(), texts.end()};
}

void KarvoldParse(benchmark::State& state, std::span<const std::string_view> texts) {
    const std::vector<std::string> copies = CopiedTexts(texts);
    for (auto _ : state) {
        for (const std::string& text : copies) {
            DecimalValue value;
            value.Parse(text);
            benchmark::DoNotOptimize(value);
        }
    }
    CountItems(state, texts.size());
}

void Decimal64Parse(benchmark::State& state, std::span<const std::string_view> texts) {
    const std::vector<std::string> copies = CopiedTexts(texts);
    for (auto _ : state) {
        for (const std::string& text : copies) {
            Decimal64 value = bench::ParseDecimal64(text);
            benchmark::DoNotOptimize(value);
        }
    }
    CountItems(state, texts.size());
}

void RationalParse(benchmark::State& state, std::span<const std::string_view> texts) {
    const std::vector<std::string> copies = CopiedTexts(texts);
    RationalCalculator calculator;
    Rational value;
    for (auto _ : state) {
        for (const std::string& text : copies) {
            calculator.Parse(text, value);
            benchmark::DoNotOptimize(value.Get());
        }
    }
    CountItems(state, texts.size());
}

std::string Name(std::string_view operation, std::string_view set, std::string_view type) {
    std::string name(operation);
    name.append("/").append(set).append("/").append(type);
    return name;
}

template <Operation operation>
void RegisterArithmetic(const OperandSet& set) {
    const std::string_view op = OperationName(operation);
    const std::span<const OperandPair> pairs = set.For(operation);
    benchmark::RegisterBenchmark(Name(op, set.name, "karvold").c_str(),
                                 KarvoldArithmetic<operation>, pairs);
    benchmark::RegisterBenchmark(Name(op, set.name, "decimal64").c_str(),
                                 Decimal64Arithmetic<operation>, pairs);
    benchmark::RegisterBenchmark(Name(op, set.name, "mpq").c_str(),
                                 RationalArithmetic<operation>, pairs);
}

void RegisterAll() {
    for (const OperandSet& set : OperandSets()) {
        RegisterArithmetic<Operation::Add>(set);
        RegisterArithmetic<Operation::Subtract>(set);
        RegisterArithmetic<Operation::Multiply>(set);
        RegisterArithmetic<Operation::Divide>(set);
        benchmark::RegisterBenchmark(Name("Format", set.name, "karvold").c_str(), KarvoldFormat,
                                     set.texts);
        benchmark::RegisterBenchmark(Name("Format", set.name, "decimal64").c_str(),
                                     Decimal64Format, set.texts);
        benchmark::RegisterBenchmark(Name("Format", set.name, "mpq").c_str(), RationalFormat,
                                     set.texts);
        benchmark::RegisterBenchmark(Name("Parse", set.name, "karvold").c_str(), KarvoldParse,
                                     set.texts);
        benchmark::RegisterBenchmark(Name("Parse", set.name, "decimal64").c_str(),
                                     Decimal64Parse, set.texts);
        benchmark::RegisterBenchmark(Name("Parse", set.name, "mpq").c_str(), RationalParse,
                                     set.texts);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!CheckAgreement(stderr)) {
        std::fprintf(stderr, "decimal_bench: the number types disagree; nothing timed\n");
        return 1;
    }
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
