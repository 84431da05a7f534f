#include "wide_integer.h"

namespace fuzzcheck {

namespace {

constexpr std::uint64_t LimbBase = std::uint64_t{1} << 32;
constexpr std::uint32_t BillionDivisor = 1'000'000'000;
constexpr int BillionExponent = 9;
// Far beyond any power the checks need (10^60), well within 512 bits (10^154).
constexpr int LargestPower = 100;

const std::array<WideInteger, LargestPower + 1>& Powers() {
    static const std::array<WideInteger, LargestPower + 1> powers = [] {
        std::array<WideInteger, LargestPower + 1> table;
        table[0] = WideInteger(1);
        for (std::size_t n = 1; n < table.size(); ++n) {
            table[n] = table[n - 1];
            table[n].MultiplySmall(10);
        }
        return table;
    }();
    return powers;
}

}  // namespace

WideInteger::WideInteger(std::uint64_t value) {
    limbs_[0] = static_cast<std::uint32_t>(value);
    limbs_[1] = static_cast<std::uint32_t>(value >> 32);
}

WideInteger WideInteger::PowerOfTen(int exponent) {
    if (exponent <= 0) {
        return WideInteger(1);
    }
    if (exponent > LargestPower) {
        WideInteger beyond = Powers()[LargestPower];
        beyond.overflowed_ = true;
        return beyond;
    }
    return Powers()[static_cast<std::size_t>(exponent)];
}

bool WideInteger::IsZero() const {
    for (std::uint32_t limb : limbs_) {
        if (limb != 0) {
            return false;
        }
    }
    return true;
}

WideInteger& WideInteger::MultiplySmall(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    overflowed_ = overflowed_ || carry != 0;
    return *this;
}

std::uint32_t WideInteger::DivideSmall(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (std::size_t i = LimbCount; i-- > 0;) {
        const std::uint64_t current = remainder * LimbBase + limbs_[i];
        limbs_[i] = static_cast<std::uint32_t>(current / divisor);
        remainder = current % divisor;
    }
    return static_cast<std::uint32_t>(remainder);
}

WideInteger& WideInteger::DivideByPowerOfTen(int exponent) {
    for (; exponent >= BillionExponent; exponent -= BillionExponent) {
        DivideSmall(BillionDivisor);
    }
    for (; exponent > 0; --exponent) {
        DivideSmall(10);
    }
    return *this;
}

int WideInteger::DigitCount() const {
    int digits = 1;
    while (digits <= LargestPower && *this >= Powers()[static_cast<std::size_t>(digits)]) {
        ++digits;
    }
    return digits;
}

std::uint64_t WideInteger::Low64() const {
    return (std::uint64_t{limbs_[1]} << 32) | limbs_[0];
}

WideInteger operator+(const WideInteger& a, const WideInteger& b) {
    WideInteger sum;
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < WideInteger::LimbCount; ++i) {
        const std::uint64_t total = std::uint64_t{a.limbs_[i]} + b.limbs_[i] + carry;
        sum.limbs_[i] = static_cast<std::uint32_t>(total);
        carry = total >> 32;
    }
    sum.overflowed_ = a.overflowed_ || b.overflowed_ || carry != 0;
    return sum;
}

WideInteger operator-(const WideInteger& a, const WideInteger& b) {
    WideInteger difference;
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < WideInteger::LimbCount; ++i) {
        const std::uint64_t subtrahend = std::uint64_t{b.limbs_[i]} + borrow;
        const std::uint64_t minuend = a.limbs_[i];
        borrow = minuend < subtrahend ? 1 : 0;
        difference.limbs_[i] = static_cast<std::uint32_t>(minuend + borrow * LimbBase - subtrahend);
    }
    difference.overflowed_ = a.overflowed_ || b.overflowed_ || borrow != 0;
    return difference;
}

WideInteger operator*(const WideInteger& a, const WideInteger& b) {
    WideInteger product;
    product.overflowed_ = a.overflowed_ || b.overflowed_;
    for (std::size_t i = 0; i < WideInteger::LimbCount; ++i) {
        if (a.limbs_[i] == 0) {
            continue;
        }
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < WideInteger::LimbCount; ++j) {
            const std::uint64_t term = std::uint64_t{a.limbs_[i]} * b.limbs_[j];
            if (i + j >= WideInteger::LimbCount) {
                product.overflowed_ = product.overflowed_ || term != 0 || carry != 0;
                continue;
            }
            // term + limb + carry never exceeds 2^64 - 1.
            const std::uint64_t total = term + product.limbs_[i + j] + carry;
            product.limbs_[i + j] = static_cast<std::uint32_t>(total);
            carry = total >> 32;
        }
        product.overflowed_ = product.overflowed_ || carry != 0;
    }
    return product;
}

std::strong_ordering operator<=>(const WideInteger& a, const WideInteger& b) {
    for (std::size_t i = WideInteger::LimbCount; i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i]) {
            return a.limbs_[i] <=> b.limbs_[i];
        }
    }
    return std::strong_ordering::equal;
}

}  // namespace fuzzcheck
