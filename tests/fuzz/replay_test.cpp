// Every committed fuzz input (seed corpora and inputs that once broke a property) through
// the targets' checks in the ordinary builds: natively, under the sanitizers and Wine.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz.h"

namespace {

namespace fs = std::filesystem;

class FuzzReplay : public testing::TestWithParam<fuzzcheck::Target> {};

TEST_P(FuzzReplay, CommittedInputsKeepEveryProperty) {
    std::string broken;
    fuzzcheck::RecordFailuresInto(&broken);
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        std::error_code missing;  // a target need not have regressions
        for (const auto& entry : fs::directory_iterator(
                 fs::path(FUZZ_INPUTS_DIR) / folder / GetParam().name, missing)) {
            std::ifstream file(entry.path(), std::ios::binary);
            // Exactly sized, so that a read past the input is caught under the sanitizers.
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
            GetParam().check(fuzzcheck::Input(bytes.data(), bytes.size()));
            EXPECT_EQ(std::exchange(broken, ""), "") << entry.path().filename().string();
            ++inputs;
        }
    }
    fuzzcheck::RecordFailuresInto(nullptr);
    EXPECT_GT(inputs, 0) << "no committed inputs for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(fuzzcheck::Targets),
                         [](const auto& target) { return std::string(target.param.name); });

}  // namespace
