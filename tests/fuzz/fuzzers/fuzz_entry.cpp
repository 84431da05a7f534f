// libFuzzer's entry for one target, chosen when the fuzzer is built (FUZZ_TARGET_NAME).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "targets.h"

namespace {

constexpr std::string_view TargetName = FUZZ_TARGET_NAME;

constexpr auto FindTarget() {
    for (const fuzzcheck::Target& target : fuzzcheck::Targets) {
        if (target.name == TargetName) {
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
