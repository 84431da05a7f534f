// Runs the karvold-keys executable with arguments and looks at its output and exit status.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Starts the driver with the arguments and collects both output streams until it ends.
Outcome RunDriver(const std::vector<std::string>& arguments) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    std::vector<char*> argv;
    std::string program = KARVOLD_KEYS_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            close(fd);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    Outcome outcome;
    std::array<pollfd, 2> streams{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    std::string* sinks[] = {&outcome.out, &outcome.err};
    int open = 2;
    while (open > 0 && poll(streams.data(), streams.size(), -1) > 0) {
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0) {
                continue;
            }
            std::array<char, 4096> buffer;
            const ssize_t count = read(streams[i].fd, buffer.data(), buffer.size());
            if (count > 0) {
                sinks[i]->append(buffer.data(), static_cast<std::size_t>(count));
            } else {
                close(streams[i].fd);
                streams[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

struct RunCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* out;
};

TEST(KarvoldKeys, PrintsTheDisplayAndItsIndicator) {
    const RunCase rows[] = {
        {"sum", {"5+3="}, "8\t\n"},
        {"no keys", {""}, "0\t\n"},
        {"grouping", {"1234567.5"}, "1,234,567.5\t\n"},
        {"negative", {"1234567M"}, "-1,234,567\t\n"},
        {"memory mark", {"5P"}, "5\tM\n"},
        {"memory cleared", {"5PT"}, "5\t\n"},
        {"division by zero", {"1/0="}, "0\tゼロ割り算エラー\n"},
        {"overflow", {"999999999999+1="}, "0\t桁あふれエラー\n"},
        {"error before memory mark", {"5P1/0="}, "0\tゼロ割り算エラー\n"},
        {"Q ends the keys", {"5Q3"}, "5\t\n"},
        {"q ends the keys", {"5+q3="}, "5\t\n"},
        {"carriage return is =", {"2+3\r"}, "5\t\n"},
        {"backspace is AC", {"2+3\b4"}, "4\t\n"},
        {"keys after --", {"--", "--"}, "0\t\n"},
        {"options after the keys", {"5", "--trace"}, "5\t1\t1\t5\t\n5\t\n"},
        {"rate", {"--rate", "8", "5"}, "5\t\n"},
        {"rate with =", {"--rate=-5", "5"}, "5\t\n"},
        {"nine-character rate", {"--rate", "+12345678", "5"}, "5\t\n"},
        {"rounding", {"--rounding", "halfup", "5"}, "5\t\n"},
        {"rounding with =", {"--rounding=upfromtenth", "5"}, "5\t\n"},
        {"empty clipboard", {"--clipboard", "", "5"}, "5\t\n"},
        {"clipboard with =", {"--clipboard=12", "5"}, "5\t\n"},
    };
    for (const RunCase& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = RunDriver(row.arguments);
        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(KarvoldKeys, TracesEveryKey) {
    const RunCase rows[] = {
        {"states and results",
         {"--trace", "12*="},
         "1\t1\t1\t1\t\n2\t1\t1\t12\t\n*\t1\t2\t12\t\n=\t1\t2\t144\t\n144\t\n"},
        {"refused keys", {"--trace", "0."}, "0\t0\t0\t0\t\n.\t0\t0\t0\t\n0\t\n"},
        {"control characters",
         {"--trace", "7\r\b\t"},
         "7\t1\t1\t7\t\n\\r\t1\t2\t7\t\n\\b\t1\t0\t0\t\n\\x09\t0\t0\t0\t\n0\t\n"},
        {"other bytes",
         {"--trace", "\\ ~\x7f\xe3\x81\x82"},
         "\\\t0\t0\t0\t\n \t0\t0\t0\t\n~\t0\t0\t0\t\n\\x7f\t0\t0\t0\t\n\\xe3\t0\t0\t0\t\n"
         "\\x81\t0\t0\t0\t\n\\x82\t0\t0\t0\t\n0\t\n"},
        {"indicators",
         {"--trace", "5P1/0"},
         "5\t1\t1\t5\t\nP\t1\t2\t5\tM\n1\t1\t1\t1\tM\n"
         "/\t1\t2\t1\tM\n0\t1\t3\t0\tM\n0\tM\n"},
        {"error",
         {"--trace", "1/0=2"},
         "1\t1\t1\t1\t\n/\t1\t2\t1\t\n0\t1\t3\t0\t\n"
         "=\t1\t5\t0\tゼロ割り算エラー\n2\t0\t5\t0\tゼロ割り算エラー\n"
         "0\tゼロ割り算エラー\n"},
        {"no line for Q", {"--trace", "4Q"}, "4\t1\t1\t4\t\n4\t\n"},
    };
    for (const RunCase& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = RunDriver(row.arguments);
        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(outcome.out, row.out);
    }
}

TEST(KarvoldKeys, RefusesBadArguments) {
    const std::vector<std::string> rows[] = {
        {},
        {"--trace"},
        {"5", "6"},
        {"--bogus", "5"},
        {"--rate"},
        {"--rate", "", "5"},
        {"--rate", "-", "5"},
        {"--rate", "8a", "5"},
        {"--rate", "1234567890", "5"},
        {"--rate", "+123456789", "5"},
        {"--rate=", "5"},
        {"--rounding", "HalfUp", "5"},
        {"--rounding", "round", "5"},
        {"--trace=1", "5"},
        {"--clipboard"},
    };
    for (const std::vector<std::string>& arguments : rows) {
        std::string name;
        for (const std::string& argument : arguments) {
            name += "[" + argument + "]";
        }
        SCOPED_TRACE(name);
        const Outcome outcome = RunDriver(arguments);
        EXPECT_EQ(outcome.exitStatus, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("usage: karvold-keys"), std::string::npos) << outcome.err;
    }
}

}  // namespace
