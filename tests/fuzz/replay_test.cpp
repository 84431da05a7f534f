// Every committed fuzz input, the seed corpora and the inputs that once broke a property,
// through the fuzz targets' checks in the ordinary builds (natively, under the sanitizers
// and under Wine).

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "check.h"
#include "targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> brokenProperties;

void RecordFailure(const char* property, const char* file, int line) {
    brokenProperties.push_back(std::string(fs::path(file).filename().string()) + ":" +
                               std::to_string(line) + ": " + property);
}

std::vector<fs::path> InputsOf(std::string_view target) {
    std::vector<fs::path> inputs;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path directory = fs::path(FUZZ_INPUTS_DIR) / folder / std::string(target);
        if (!fs::is_directory(directory)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public testing::TestWithParam<fuzzcheck::Target> {};

TEST_P(FuzzReplay, CommittedInputsKeepEveryProperty) {
    fuzzcheck::SetFailureHandler(RecordFailure);
    const std::vector<fs::path> inputs = InputsOf(GetParam().name);
    ASSERT_FALSE(inputs.empty()) << "no committed inputs for " << GetParam().name;
    for (const fs::path& input : inputs) {
        brokenProperties.clear();
        // Exactly sized, so that a read past the input is caught under the sanitizers.
        const std::vector<std::uint8_t> bytes = ReadBytes(input);
        GetParam().check(fuzzcheck::Input(bytes.data(), bytes.size()));
        std::string broken;
        for (const std::string& property : brokenProperties) {
            broken += "\n  " + property;
        }
        EXPECT_TRUE(brokenProperties.empty()) << input.filename().string() << ":" << broken;
    }
    fuzzcheck::SetFailureHandler(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(fuzzcheck::Targets),
                         [](const testing::TestParamInfo<fuzzcheck::Target>& target) {
                             return std::string(target.param.name);
                         });

}  // namespace
