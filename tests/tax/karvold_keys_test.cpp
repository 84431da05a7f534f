// The headless driver, run as a program: the tax and clipboard options reach the engine.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What the program prints on standard output, or "exit N" when it fails.
std::string RunKeys(const std::vector<std::string>& arguments) {
    std::string command = Quoted(KARVOLD_KEYS);
    for (const std::string& argument : arguments) {
        command += ' ' + Quoted(argument);
    }
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "cannot start";
    }
    std::string output;
    char chunk[256];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
        output.append(chunk, n);
    }
    const int status = pclose(pipe);
    return status == 0 ? output : "exit " + std::to_string(status);
}

struct RunCase {
    std::vector<std::string> arguments;
    const char* output;
};

TEST(KarvoldKeys, TaxAndClipboardOptions) {
    const RunCase cases[] = {
        {{"--rate", "8", "1000ZZZ"}, "1,000\t\n"},
        {{"--rate", "8", "1000ZZ"}, "80\t税\n"},
        {{"--rate", "8", "1080X"}, "1,000\t税抜\n"},
        {{"--rate", "8", "--rounding", "truncate", "107Z"}, "115\t税込\n"},
        {{"--rate", "8", "--rounding", "halfup", "107Z"}, "116\t税込\n"},
        {{"--rate", "8", "--rounding", "upfromtenth", "105Z"}, "114\t税込\n"},
        {{"--rate", "8", "--rounding", "upfromtenth", "100X"}, "92\t税抜\n"},
        {{"--rate", "-100", "1000X"}, "0\tゼロ割り算エラー\n"},
        {{"--rate", "999999999", "1000000Z"}, "0\t桁あふれエラー\n"},
        {{"--clipboard", "1,234", "5+D="}, "1,239\t\n"},
        {{"--clipboard", " 12", "D"}, "0\t\n"},
        {{"--clipboard", "12", "D3"}, "123\t\n"},
    };
    for (const RunCase& c : cases) {
        std::string name;
        for (const std::string& argument : c.arguments) {
            name += argument + ' ';
        }
        EXPECT_EQ(RunKeys(c.arguments), c.output) << name;
    }
}

}  // namespace
