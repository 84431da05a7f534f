// libFuzzer's entry for the target chosen when the fuzzer is built (FUZZ_TARGET_NAME).

#include "fuzz.h"

namespace {

constexpr auto FindTarget() {
    for (const fuzzcheck::Target& target : fuzzcheck::Targets) {
        if (target.name == FUZZ_TARGET_NAME) {
            return target.check;
        }
    }
    return static_cast<void (*)(fuzzcheck::Input)>(nullptr);
}

constexpr auto Check = FindTarget();
static_assert(Check != nullptr, "FUZZ_TARGET_NAME names no target");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(fuzzcheck::Input(data, size));
    return 0;
}
