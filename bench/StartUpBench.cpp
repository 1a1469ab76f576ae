// Start-up as a user meets it: from the moment the relayeur process is started until its window
// is up and it takes a line message, with a profile loaded and started on the on-screen panel.
// Each run has its own runtime and settings directories, so it never meets a Relayeur already
// running, and ends the program with SIGTERM the way a session does.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr auto kDeadline = std::chrono::seconds(30);
// The last line of the start-up log once the profile is loaded.
const std::string kProfileLoaded = "Chargement du fichier de commande -> OK";

struct RunDir {
    std::filesystem::path path;
    RunDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "relayeur-startup-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        std::filesystem::create_directory(path / "run");
        std::filesystem::permissions(path / "run", std::filesystem::perms::owner_all);
        std::ofstream(path / "param.ini")
            << "[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=4\ncontrast=50\nbacklight=1\n"
               "refresh=500\nscrolling=1\nrep_winamp=\nrep_seti=\nrep_HL=\n";
    }
    ~RunDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// One line message, "Pret" fixed on the top line; true once Relayeur answers that it took it.
bool sendLine(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    bool taken = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string text = "Pret00";
        unsigned char message[8 + 6] = {3, 0, 0, 0, static_cast<unsigned char>(text.size()),
                                        0, 0, 0};
        std::memcpy(message + 8, text.data(), text.size());
        const timeval wait{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        unsigned char reply[4];
        size_t got = 0;
        if (::send(fd, message, sizeof message, MSG_NOSIGNAL) ==
            static_cast<ssize_t>(sizeof message)) {
            ssize_t n = 0;
            while (got < sizeof reply && (n = ::read(fd, reply + got, sizeof reply - got)) > 0) {
                got += static_cast<size_t>(n);
            }
        }
        taken =
            got == sizeof reply && reply[0] == 1 && reply[1] == 0 && reply[2] == 0 && reply[3] == 0;
    }
    ::close(fd);
    return taken;
}

struct Run {
    double readyMs = 0;   // the window is up and a line message is taken
    double logDoneMs = 0; // the start-up log ends with the profile loaded
    double quitMs = 0;    // from SIGTERM to the end of the process
    double cpuMs = 0;     // the program's own processor time, start to end
    long maxRssKib = 0;   // its peak resident memory
    std::string failure;
};

Run startOnce(const RunDir& dir) {
    Run run;
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("XDG_RUNTIME_DIR=", 0) != 0) {
            environment.push_back(entry);
        }
    }
    environment.push_back("QT_QPA_PLATFORM=offscreen");
    environment.push_back("XDG_RUNTIME_DIR=" + (dir.path / "run").string());
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    std::string binary = RELAYEUR_BINARY;
    std::string configDir = dir.path.string();
    std::string profile = RELAYEUR_BENCH_DIR "/live-page.tlcd";
    std::vector<std::string> arguments = {binary,        "--config-dir", configDir, "--quiet",
                                          "--print-log", "--profile",    profile,   "--start"};
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        run.failure = "pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const std::string socketPath = (dir.path / "run" / "relayeur" / "default").string();
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        run.failure = "cannot start " + binary;
        return run;
    }

    std::string pending;
    bool ready = false;
    bool logDone = false;
    bool exited = false;
    while (!(ready && logDone) && run.failure.empty()) {
        if (Clock::now() - start > kDeadline) {
            run.failure = "not ready within 30 s";
            break;
        }
        // Standard output is read as it comes; the socket is tried between two reads.
        pollfd pfd{out[0], POLLIN, 0};
        if (!logDone && ::poll(&pfd, 1, 2) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n > 0) {
                pending.append(buffer, static_cast<size_t>(n));
                if (pending.find(kProfileLoaded) != std::string::npos) {
                    logDone = true;
                    run.logDoneMs = Ms(Clock::now() - start).count();
                }
            }
        } else if (logDone) {
            ::poll(nullptr, 0, 2);
        }
        if (!ready && sendLine(socketPath)) {
            ready = true;
            run.readyMs = Ms(Clock::now() - start).count();
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            run.failure = "relayeur ended during start-up";
        }
    }
    ::close(out[0]);
    if (!exited) {
        const auto quitting = Clock::now();
        ::kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        run.quitMs = Ms(Clock::now() - quitting).count();
        run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        run.maxRssKib = usage.ru_maxrss;
        if (run.failure.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
            run.failure = "relayeur did not end cleanly on SIGTERM";
        }
    }
    return run;
}

void BM_StartUpToReady(benchmark::State& state) {
    RunDir dir;
    double logDone = 0;
    double quit = 0;
    double cpu = 0;
    long maxRss = 0;
    for (auto _ : state) {
        const Run run = startOnce(dir);
        if (!run.failure.empty()) {
            state.SkipWithError(run.failure.c_str());
            return;
        }
        state.SetIterationTime(run.readyMs / 1000.0);
        logDone += run.logDoneMs;
        quit += run.quitMs;
        cpu += run.cpuMs;
        maxRss = std::max(maxRss, run.maxRssKib);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["log_done_ms"] = logDone / n;
    state.counters["quit_ms"] = quit / n;
    state.counters["program_cpu_ms"] = cpu / n;
    state.counters["peak_rss_kib"] = static_cast<double>(maxRss);
}
BENCHMARK(BM_StartUpToReady)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
