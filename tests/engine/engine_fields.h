#pragma once

// Every field of an engine, and the characters its one entry knows: shared by the engine, tax,
// fuzz and soak tests. No test framework here, so that the fuzzers can use it too.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/calc_engine.h"

// The characters HandleCommand knows, in both cases.
inline constexpr std::string_view CommandCharacters =
    "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";

// Registers, then the state words, representations included.
struct EngineFields {
    std::array<DecimalValue, 8> registers;
    std::array<std::uint32_t, 6> words{};

    explicit EngineFields(const CalcEngine& e)
        : registers{e.display,    e.leftOperand, e.rightOperand, e.memory,
                    e.grandTotal, e.constant,    e.taxRate,      e.taxBase},
          words{static_cast<std::uint32_t>(e.constantOperator),
                static_cast<std::uint32_t>(e.state),
                e.fractionEntry,
                static_cast<std::uint32_t>(e.pendingOperator),
                static_cast<std::uint32_t>(e.taxState),
                static_cast<std::uint32_t>(e.taxRounding)} {}

    // The fields lie without padding, so the bytes compare as the fields do.
    bool operator==(const EngineFields& other) const {
        return std::memcmp(this, &other, sizeof other) == 0;
    }
};
static_assert(sizeof(EngineFields) == 8 * sizeof(DecimalValue) + 6 * sizeof(std::uint32_t));

inline constexpr std::size_t TaxRateRegister = 6;
