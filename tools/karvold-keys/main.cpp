// karvold-keys: runs the calculator engine without a window. Each byte of KEYS is one
// command character, as the window would pass it; the last line shows the display.

#include <cstdio>
#include <string>
#include <vector>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "options.h"
#include "report.h"
#include "tax/tax_rules.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int UsageExitStatus = 2;
constexpr const char* DataFolder = "C:\\Faltrane";

// Any letter but the two that name a rule means truncation.
char RoundingLetter(TaxRounding rounding) {
    switch (rounding) {
        case TaxRounding::HalfUp:
            return HalfUpLetter;
        case TaxRounding::UpFromTenth:
            return UpFromTenthLetter;
        case TaxRounding::Truncate:
            break;
    }
    return 'T';
}

// The installation's two data files, as the options describe them.
void InstallDataFiles(const KeysOptions& options, MemoryInstallation& installation) {
    if (!options.rate && !options.rounding) {
        return;
    }
    installation.keyPresent = true;
    installation.dataFolder = DataFolder;
    std::optional<std::string> rate, rounding;
    if (options.rate) {
        rate = static_cast<char>(options.rate->size()) + *options.rate;
    }
    if (options.rounding) {
        rounding =
            std::string{static_cast<char>(RoundingLength), RoundingLetter(*options.rounding)};
    }
    installation.PutTaxFiles(DataFolder, rate, rounding);
}

std::string StatusLine(const CalcEngine& engine) {
    return DisplayText(engine) + '\t' + IndicatorText(engine) + '\n';
}

// Q closes the window, so nothing after it reaches the engine.
bool EndsRun(char key) {
    return key == 'Q' || key == 'q';
}

std::string Run(const KeysOptions& options) {
    MemoryPlatform platform(SystemClock().Today());
    InstallDataFiles(options, platform.installation);
    if (options.clipboard) {
        platform.clipboard.text = *options.clipboard;
    }
    CalcEngine engine(platform.Get());
    std::string output;
    for (char key : options.keys) {
        if (EndsRun(key)) {
            break;
        }
        const auto byte = static_cast<unsigned char>(key);
        const std::int32_t result = engine.HandleCommand(byte);
        if (options.trace) {
            output += KeyText(byte) + '\t' + std::to_string(result) + '\t' +
                      std::to_string(static_cast<std::uint32_t>(engine.state)) + '\t' +
                      StatusLine(engine);
        }
    }
    return output + StatusLine(engine);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as elsewhere: no CR before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<const char*> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "karvold-keys: %s\n%s", parsed.error.c_str(), UsageText);
        return UsageExitStatus;
    }
    if (parsed.options->help) {
        std::fputs(UsageText, stdout);
        return 0;
    }
    const std::string output = Run(*parsed.options);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
