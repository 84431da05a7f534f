// Runs the karvold-keys executable and looks at its output and exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

std::string Drain(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

struct Outcome {
    int exitStatus = -1;
    std::string out, err;
};

// The outputs here stay far below a pipe's capacity, so the child never blocks on them.
Outcome RunKeys(std::vector<std::string> arguments) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    std::vector<char*> argv{const_cast<char*>(KARVOLD_KEYS_PATH)};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Drain(out[0]), Drain(err[0])};
}

TEST(KarvoldKeys, ArgumentsToOutputAndExitStatus) {
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        const char* out;
    } rows[] = {
        {{"5+3="}, 0, "8\t\n"},
        {{""}, 0, "0\t\n"},
        {{"1234567.5"}, 0, "1,234,567.5\t\n"},
        {{"1234567M"}, 0, "-1,234,567\t\n"},
        {{"5P"}, 0, "5\tM\n"},
        {{"5PT"}, 0, "5\t\n"},
        {{"1/0="}, 0, "0\tゼロ割り算エラー\n"},
        {{"999999999999+1="}, 0, "0\t桁あふれエラー\n"},
        {{"5P1/0="}, 0, "0\tゼロ割り算エラー\n"},
        {{"5Q3"}, 0, "5\t\n"},
        {{"5+q3="}, 0, "5\t\n"},
        {{"2+3\r"}, 0, "5\t\n"},
        {{"2+3\b4"}, 0, "4\t\n"},
        {{"--", "--"}, 0, "0\t\n"},
        {{"--rate", "8", "1000ZZZ"}, 0, "1,000\t\n"},
        {{"--rate", "8", "1000ZZ"}, 0, "80\t税\n"},
        {{"--rate=8", "1080X"}, 0, "1,000\t税抜\n"},
        {{"--rate", "8", "--rounding", "truncate", "107Z"}, 0, "115\t税込\n"},
        {{"--rate", "8", "--rounding=halfup", "107Z"}, 0, "116\t税込\n"},
        {{"--rate", "8", "--rounding", "upfromtenth", "105Z"}, 0, "114\t税込\n"},
        {{"--rate", "-100", "1000X"}, 0, "0\tゼロ割り算エラー\n"},
        {{"--rate", "999999999", "1000000Z"}, 0, "0\t桁あふれエラー\n"},
        {{"5D"}, 0, "5\t\n"},
        {{"--clipboard", "", "5D"}, 0, "0\t\n"},
        {{"--clipboard", "1,234", "5+D="}, 0, "1,239\t\n"},
        {{"--clipboard=12", "D3"}, 0, "123\t\n"},
        {{"5", "--trace"}, 0, "5\t1\t1\t5\t\n5\t\n"},
        {{"--trace", "12*="}, 0, "1\t1\t1\t1\t\n2\t1\t1\t12\t\n*\t1\t2\t12\t\n=\t1\t2\t144\t\n144\t\n"},
        {{"--trace", "0.\r\b\t"}, 0,
         "0\t0\t0\t0\t\n.\t0\t0\t0\t\n\\r\t0\t0\t0\t\n\\b\t1\t0\t0\t\n\\x09\t0\t0\t0\t\n0\t\n"},
        {{"--trace", "\\ ~\x7f\xe3\x81\x82"}, 0,
         "\\\t0\t0\t0\t\n \t0\t0\t0\t\n~\t0\t0\t0\t\n\\x7f\t0\t0\t0\t\n\\xe3\t0\t0\t0\t\n"
         "\\x81\t0\t0\t0\t\n\\x82\t0\t0\t0\t\n0\t\n"},
        {{"--trace", "5P1/0=2Q3"}, 0,
         "5\t1\t1\t5\t\nP\t1\t2\t5\tM\n1\t1\t1\t1\tM\n/\t1\t2\t1\tM\n0\t1\t3\t0\tM\n"
         "=\t1\t5\t0\tゼロ割り算エラー\n2\t0\t5\t0\tゼロ割り算エラー\n0\tゼロ割り算エラー\n"},
        {{}, 2, ""},
        {{"--trace"}, 2, ""},
        {{"5", "6"}, 2, ""},
        {{"--bogus", "5"}, 2, ""},
        {{"--rate"}, 2, ""},
        {{"--rate", "", "5"}, 2, ""},
        {{"--rate=", "5"}, 2, ""},
        {{"--rate", "-", "5"}, 2, ""},
        {{"--rate", "8a", "5"}, 2, ""},
        {{"--rate", "1234567890", "5"}, 2, ""},
        {{"--rate", "+123456789", "5"}, 2, ""},
        {{"--rounding", "HalfUp", "5"}, 2, ""},
        {{"--trace=1", "5"}, 2, ""},
        {{"--clipboard"}, 2, ""},
    };
    for (const auto& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments) {
            name += "[" + argument + "]";
        }
        SCOPED_TRACE(name);
        const Outcome outcome = RunKeys(row.arguments);
        EXPECT_EQ(outcome.exitStatus, row.exitStatus);
        EXPECT_EQ(outcome.out, row.out);
        if (row.exitStatus == 0) {
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_EQ(outcome.err.rfind("karvold-keys: ", 0), 0u) << outcome.err;
            EXPECT_NE(outcome.err.find("usage: karvold-keys"), std::string::npos) << outcome.err;
        }
    }
}

}  // namespace
