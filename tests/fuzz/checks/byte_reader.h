#pragma once

// Takes typed values from the front of a fuzz input. An exhausted input gives zeros, so
// every input, however short, is a valid test case.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace fuzzcheck {

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> input) : rest_(input) {}

    template <typename T>
    T Take() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        const std::size_t count = sizeof(T) < rest_.size() ? sizeof(T) : rest_.size();
        std::memcpy(&value, rest_.data(), count);
        rest_ = rest_.subspan(count);
        return value;
    }

    std::uint8_t TakeByte() { return Take<std::uint8_t>(); }
    bool TakeFlag() { return (TakeByte() & 1) != 0; }

    // Up to count bytes, fewer when the input ends first.
    std::span<const std::uint8_t> TakeBytes(std::size_t count) {
        const std::size_t taken = count < rest_.size() ? count : rest_.size();
        std::span<const std::uint8_t> bytes = rest_.first(taken);
        rest_ = rest_.subspan(taken);
        return bytes;
    }

    std::span<const std::uint8_t> Rest() const { return rest_; }
    bool Empty() const { return rest_.empty(); }

  private:
    std::span<const std::uint8_t> rest_;
};

}  // namespace fuzzcheck
