#pragma once

// The properties the fuzz targets test. A broken property goes to the failure handler:
// the fuzzer aborts there, so that libFuzzer keeps the input; the replay test records it
// and carries on with the next input.

namespace fuzzcheck {

using FailureHandler = void (*)(const char* property, const char* file, int line);

void SetFailureHandler(FailureHandler handler);
void Fail(const char* property, const char* file, int line);

}  // namespace fuzzcheck

#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzzcheck::Fail(#condition, __FILE__, __LINE__))
