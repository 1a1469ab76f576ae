#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct SpawnSetup {
    SpawnSetup() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
};

// Whether the process has ended, leaving it unreaped; `info` then says how.
bool hasEnded(pid_t pid, siginfo_t& info, int flags) {
    info = {};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT | flags) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return info.si_pid == pid;
}

} // namespace

ChildProcess::ChildProcess(const QByteArray& command) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        error = errno;
        return;
    }
    FileDescriptor readEnd(ends[0]);
    const FileDescriptor writeEnd(ends[1]);
    SpawnSetup setup;
    // The calling thread may block or ignore signals for its own reasons; the command starts as a
    // shell from a terminal would.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.get(), STDOUT_FILENO);
    QByteArray text = command;
    char shell[] = "sh";
    char dashC[] = "-c";
    char* argv[] = {shell, dashC, text.data(), nullptr};
    pid_t child = 0;
    if (const int failed =
            ::posix_spawn(&child, "/bin/sh", &setup.actions, &setup.attributes, argv, environ)) {
        error = failed;
        return;
    }
    pid = child;
    output = std::move(readEnd);
    // Without it (an old kernel) finish() looks at the command every few milliseconds instead.
    exitWatch = FileDescriptor(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
}

ChildProcess::~ChildProcess() {
    if (pid <= 0) {
        return;
    }
    if (!ended) {
        killGroup();
    }
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void ChildProcess::killGroup() const {
    ::kill(-pid, SIGKILL);
}

ChildProcess::Result ChildProcess::finish(int timeoutMs, qsizetype keep) {
    using Clock = std::chrono::steady_clock;
    Result result;
    if (pid <= 0) {
        return result;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool reading = true;
    auto readSome = [&] {
        char buffer[4096];
        const ssize_t count = ::read(output.get(), buffer, sizeof buffer);
        if (count > 0) {
            result.output.append(buffer, std::min<qsizetype>(count, keep - result.output.size()));
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
            reading = false;
        }
        return count > 0;
    };
    siginfo_t info{};
    while (!hasEnded(pid, info, WNOHANG)) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            killGroup();
            hasEnded(pid, info, 0);
            ended = true;
            result.end = Result::End::TimedOut;
            return result;
        }
        pollfd watched[2];
        nfds_t count = 0;
        if (reading) {
            watched[count++] = {output.get(), POLLIN, 0};
        }
        if (exitWatch.get() >= 0) {
            watched[count++] = {exitWatch.get(), POLLIN, 0};
        }
        const int wait = static_cast<int>(
            exitWatch.get() >= 0 ? left.count() : std::min<long long>(left.count(), 20));
        if (::poll(watched, count, wait) > 0 && reading && watched[0].revents != 0) {
            readSome();
        }
    }
    ended = true;
    // What it wrote before it ended is in the pipe; children that keep the pipe open are not
    // waited for.
    ::fcntl(output.get(), F_SETFL, O_NONBLOCK);
    while (reading && readSome()) {
    }
    if (info.si_code == CLD_EXITED) {
        result.end = Result::End::Exited;
    } else {
        result.end = Result::End::Signalled;
    }
    result.code = info.si_status;
    return result;
}
