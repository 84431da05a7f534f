#pragma once

// The operands every number type is timed on, as text, so that each type reads them with
// its own parser at run time and the compiler cannot fold them.

#include <span>
#include <string_view>

#include "decimal/decimal_value.h"

enum class Operation { Add, Subtract, Multiply, Divide };

struct OperandPair {
    std::string_view first;
    std::string_view second;
};

struct OperandSet {
    std::string_view name;
    // Pairs whose result stays within twelve whole-number digits for this operation.
    std::span<const OperandPair> add;
    std::span<const OperandPair> subtract;
    std::span<const OperandPair> multiply;
    std::span<const OperandPair> divide;
    // Single values for text conversion, without grouping commas.
    std::span<const std::string_view> texts;

    std::span<const OperandPair> For(Operation operation) const;
};

std::span<const OperandSet> OperandSets();
std::string_view OperationName(Operation operation);

inline constexpr Operation AllOperations[] = {Operation::Add, Operation::Subtract,
                                             Operation::Multiply, Operation::Divide};

// One operation of DecimalValue, chosen at compile time so that the timed loop has no branch.
template <Operation operation>
DecimalValue Apply(const DecimalValue& a, const DecimalValue& b) {
    if constexpr (operation == Operation::Add) {
        return a.Add(b);
    } else if constexpr (operation == Operation::Subtract) {
        return a.Subtract(b);
    } else if constexpr (operation == Operation::Multiply) {
        return a.Multiply(b);
    } else {
        return a.Divide(b);
    }
}
