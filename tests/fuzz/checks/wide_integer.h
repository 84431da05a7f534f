#pragma once

// A non-negative integer of 512 bits for the exact arithmetic the checks compare against:
// products of a few 64-bit values and powers of ten up to 10^60 fit with room to spare.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>

namespace fuzzcheck {

class WideInteger {
  public:
    WideInteger() = default;
    explicit WideInteger(std::uint64_t value);

    static WideInteger PowerOfTen(int exponent);

    bool IsZero() const;
    // True once a result needed more than 512 bits; the checks treat that as their own bug.
    bool Overflowed() const { return overflowed_; }

    WideInteger& MultiplySmall(std::uint32_t factor);
    // In place; returns the remainder.
    std::uint32_t DivideSmall(std::uint32_t divisor);
    WideInteger& DivideByPowerOfTen(int exponent);

    // Decimal digits, 0 counting as one.
    int DigitCount() const;
    // The low 64 bits (the value itself when it fits).
    std::uint64_t Low64() const;

    friend WideInteger operator+(const WideInteger& a, const WideInteger& b);
    // a - b for a >= b; b > a marks the result overflowed.
    friend WideInteger operator-(const WideInteger& a, const WideInteger& b);
    friend WideInteger operator*(const WideInteger& a, const WideInteger& b);
    friend std::strong_ordering operator<=>(const WideInteger& a, const WideInteger& b);
    friend bool operator==(const WideInteger& a, const WideInteger& b) {
        return (a <=> b) == std::strong_ordering::equal;
    }

  private:
    static constexpr std::size_t LimbCount = 16;
    std::array<std::uint32_t, LimbCount> limbs_{};  // least significant first
    bool overflowed_ = false;
};

}  // namespace fuzzcheck
