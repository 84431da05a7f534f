// Starts probe builds in turns and prints what each measured, one line per run:
//   probe_launcher <rounds> <output folder> <name>=<program> ...
// Round 0 is a warm-up (files into the cache) and is marked so. The order of the programs
// turns round every round, so that a drift in the machine's load falls on all alike.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD RunTimeoutMilliseconds = 120000;

struct Program {
    std::string name;
    std::string path;
};

std::uint64_t Now() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The probe's key=value lines joined into one.
std::string ReadResults(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return {};
    }
    std::string joined;
    char line[4096];
    while (std::fgets(line, sizeof(line), file) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        joined += ' ';
        joined += line;
    }
    std::fclose(file);
    return joined;
}

bool Run(const Program& program, int round, const std::string& folder) {
    const std::string output = folder + "\\" + program.name + "-" + std::to_string(round) + ".txt";
    DeleteFileA(output.c_str());
    SetEnvironmentVariableA("KARVOLD_PROBE_OUT", output.c_str());

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program.path + "\"";
    const std::string workingFolder = Folder(program.path);
    const std::uint64_t launched = Now();
    if (!CreateProcessA(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, workingFolder.c_str(), &startup, &process)) {
        std::printf("run name=%s round=%d error=CreateProcess:%lu\n", program.name.c_str(), round,
                    GetLastError());
        return false;
    }
    const DWORD waited = WaitForSingleObject(process.hProcess, RunTimeoutMilliseconds);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string results = ReadResults(output);
    std::printf("run name=%s round=%d warmup=%d launch_filetime=%llu exit=%lu timeout=%d%s\n",
                program.name.c_str(), round, round == 0 ? 1 : 0,
                static_cast<unsigned long long>(launched), exitCode,
                waited == WAIT_OBJECT_0 ? 0 : 1, results.c_str());
    std::fflush(stdout);
    return waited == WAIT_OBJECT_0 && !results.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: probe_launcher <rounds> <output folder> <name>=<program>...\n");
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    const std::string folder = argv[2];
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "probe_launcher: %s is not <name>=<program>\n", argv[i]);
            return 2;
        }
        programs.push_back({argument.substr(0, equals), argument.substr(equals + 1)});
    }
    bool ok = true;
    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const std::size_t index = round % 2 == 0 ? i : programs.size() - 1 - i;
            ok = Run(programs[index], round, folder) && ok;
        }
    }
    return ok ? 0 : 1;
}
