#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

namespace {

[[noreturn]] void AbortOnFailure(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

FailureHandler failureHandler = AbortOnFailure;

}  // namespace

void SetFailureHandler(FailureHandler handler) {
    failureHandler = handler != nullptr ? handler : AbortOnFailure;
}

void Fail(const char* property, const char* file, int line) {
    failureHandler(property, file, line);
}

}  // namespace fuzzcheck
