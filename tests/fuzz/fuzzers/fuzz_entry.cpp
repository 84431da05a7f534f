// libFuzzer's entry for the target chosen when the fuzzer is built (FUZZ_TARGET_NAME).

#include <algorithm>
#include <iterator>

#include "fuzz.h"

namespace {

constexpr const fuzzcheck::Target* Chosen = std::ranges::find(
    fuzzcheck::Targets, std::string_view(FUZZ_TARGET_NAME), &fuzzcheck::Target::name);
static_assert(Chosen != std::end(fuzzcheck::Targets), "FUZZ_TARGET_NAME names no target");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Chosen->check(fuzzcheck::Input(data, size));
    return 0;
}
