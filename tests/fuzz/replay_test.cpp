// Every committed fuzz input (seed corpora and inputs that once broke a property) through
// the targets' checks in the ordinary builds: natively, under the sanitizers and Wine.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz.h"

namespace {

namespace fs = std::filesystem;

class FuzzReplay : public testing::TestWithParam<fuzzcheck::Target> {};

TEST_P(FuzzReplay, CommittedInputsKeepEveryProperty) {
    std::vector<fs::path> inputs;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path directory = fs::path(FUZZ_INPUTS_DIR) / folder / GetParam().name;
        std::error_code missing;  // a target need not have regressions
        for (const auto& entry : fs::directory_iterator(directory, missing)) {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty()) << "no committed inputs for " << GetParam().name;
    std::string broken;
    fuzzcheck::RecordFailuresInto(&broken);
    for (const fs::path& input : inputs) {
        broken.clear();
        std::ifstream file(input, std::ios::binary);
        // Exactly sized, so that a read past the input is caught under the sanitizers.
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        GetParam().check(fuzzcheck::Input(bytes.data(), bytes.size()));
        EXPECT_EQ(broken, "") << input.filename().string();
    }
    fuzzcheck::RecordFailuresInto(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(fuzzcheck::Targets),
                         [](const auto& target) { return std::string(target.param.name); });

}  // namespace
