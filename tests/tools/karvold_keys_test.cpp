// Runs the karvold-keys executable and looks at its two output streams and its exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// What the shell command writes on its standard output; status gets the exit status.
std::string Capture(const std::string& command, int& status) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    for (int c = 0; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        text += static_cast<char>(c);
    }
    const int result = pipe != nullptr ? pclose(pipe) : -1;  // -1: not started
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return text;
}

TEST(KarvoldKeys, ArgumentsToOutputAndExitStatus) {
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        const char* out;
    } rows[] = {
        {{""}, 0, "0\t\n"},
        {{"--rate=8", "1080X"}, 0, "1,000\t税抜\n"},
        {{"--rate", "8", "--rounding", "truncate", "107Z"}, 0, "115\t税込\n"},
        {{"--rate", "8", "--rounding=halfup", "107Z"}, 0, "116\t税込\n"},
        {{"--rate", "8", "--rounding", "upfromtenth", "105Z"}, 0, "114\t税込\n"},
        {{"--clipboard", "", "5D"}, 0, "0\t\n"},
        {{"--clipboard=12", "D3"}, 0, "123\t\n"},
        {{"--trace", "0.\r\b\t\\ ~\x7f\xe3"},
         0,
         "0\t0\t0\t0\t\n.\t0\t0\t0\t\n\\r\t0\t0\t0\t\n\\b\t1\t0\t0\t\n\\x09\t0\t0\t0\t\n"
         "\\\t0\t0\t0\t\n \t0\t0\t0\t\n~\t0\t0\t0\t\n\\x7f\t0\t0\t0\t\n\\xe3\t0\t0\t0\t\n0\t\n"},
        {{"--trace", "5P1/0=2q3"},
         0,
         "5\t1\t1\t5\t\nP\t1\t2\t5\tM\n1\t1\t1\t1\tM\n/\t1\t2\t1\tM\n0\t1\t3\t0\tM\n"
         "=\t1\t5\t0\tゼロ割り算エラー\n2\t0\t5\t0\tゼロ割り算エラー\n0\tゼロ割り算エラー\n"},
        {{"--trace"}, 2, ""},
        {{"--bogus", "5"}, 2, ""},
        {{"--rate"}, 2, ""},
        {{"--rate", "8a", "5"}, 2, ""},
        {{"--rate", "1234567890", "5"}, 2, ""},
        {{"--rounding", "HalfUp", "5"}, 2, ""},
        {{"--trace=1", "5"}, 2, ""},
    };
    for (const auto& row : rows) {
        std::string command = "'" KARVOLD_KEYS_PATH "'";
        for (const std::string& argument : row.arguments) {
            command += " '" + argument + "'";  // no argument here holds a quote
        }
        SCOPED_TRACE(command);
        int status = -1;
        EXPECT_EQ(Capture(command + " 2>/dev/null", status), row.out);
        EXPECT_EQ(status, row.exitStatus);
        // A refused command line says why and how to use the program.
        const std::string err = Capture(command + " 2>&1 >/dev/null", status);
        EXPECT_TRUE(row.exitStatus == 0 ? err.empty()
                                        : err.starts_with("karvold-keys: ") &&
                                              err.find("usage: karvold-keys") != std::string::npos)
            << err;
    }
}

}  // namespace
