// A crowd of LCDproc clients for the LCDd server comparison: each connection says hello, names
// itself, adds a foreground screen with one string widget, then rewrites that widget RATE times a
// second with a counter. Everything the server sends is read and dropped, the answers counted.
//
//   lcd-load-client HOST PORT CLIENTS RATE SECONDS
//
// The clients take turns through each period, so that the server meets CLIENTS x RATE updates a
// second spread evenly, as independent programs would send them. Prints "N clients ready on
// HOST:PORT" once every screen is set up, and one summary line at the end; exits 1 when a
// connection was lost or an answer began with "huh?", 2 on wrong arguments.
#include "FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <netdb.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t kNsPerSecond = 1'000'000'000;
// How long the server has to accept the connections, greet them and set up their screens, and to
// answer what is still pending at the end.
constexpr int64_t kSetUpNs = 10 * kNsPerSecond;
constexpr int64_t kDrainNs = 2 * kNsPerSecond;
// Once every command has its answer, a quiet moment longer than LCDd's frame lets what the
// server still had to say arrive (LCDd answers screen_set once per option).
constexpr int64_t kQuietNs = 250'000'000;

struct Connection {
    FileDescriptor fd;
    std::string name;
    std::string in;  // the start of a line not yet ended
    std::string out; // what the server has not taken yet
    int awaited = 0; // commands sent less answers taken
    bool greeted = false;
    bool lost = false;
};

struct Counts {
    long commands = 0;
    long updates = 0;
    long answers = 0;
    long huh = 0;
    long listen = 0;
    long ignore = 0;
    long other = 0;
    long lost = 0;
    size_t backlog = 0; // the most bytes ever waiting for the server to read them
    int64_t lateNs = 0; // the latest wake-up after its deadline
    std::string firstHuh;
};

int64_t now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * kNsPerSecond + t.tv_nsec;
}

void sleepUntil(int64_t deadline) {
    const timespec t{static_cast<time_t>(deadline / kNsPerSecond),
                     static_cast<long>(deadline % kNsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

std::optional<long> number(const char* text, long least, long most) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < least || value > most) {
        return std::nullopt;
    }
    return value;
}

// A non-blocking connection to the first address of host:port that takes it, or the reason why
// none did.
FileDescriptor connectTo(const char* host, const char* port, std::string& why) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int failed = getaddrinfo(host, port, &hints, &found); failed != 0) {
        why = gai_strerror(failed);
        return {};
    }
    FileDescriptor result;
    for (addrinfo* a = found; a != nullptr && result.get() < 0; a = a->ai_next) {
        FileDescriptor fd(
            socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (fd.get() < 0) {
            why = std::strerror(errno);
            continue;
        }
        if (connect(fd.get(), a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                why = std::strerror(errno);
                continue;
            }
            pollfd p{fd.get(), POLLOUT, 0};
            if (poll(&p, 1, static_cast<int>(kSetUpNs / 1'000'000)) != 1) {
                why = "no answer";
                continue;
            }
            int error = 0;
            socklen_t size = sizeof error;
            getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size);
            if (error != 0) {
                why = std::strerror(error);
                continue;
            }
        }
        result = std::move(fd);
    }
    freeaddrinfo(found);
    return result;
}

void queue(Connection& c, Counts& counts, const std::string& command) {
    c.out += command;
    c.out += '\n';
    ++c.awaited;
    ++counts.commands;
}

void lose(Connection& c, Counts& counts, const char* why) {
    if (!c.lost) {
        c.lost = true;
        ++counts.lost;
        std::fprintf(stderr, "lcd-load-client: %s lost its connection: %s\n", c.name.c_str(), why);
    }
}

// One line from the server: an answer to a command, or news of the screen or the keys.
void take(Connection& c, Counts& counts, const std::string& line) {
    const auto startsWith = [&line](const char* prefix) { return line.rfind(prefix, 0) == 0; };
    if (startsWith("listen ")) {
        ++counts.listen;
        return;
    }
    if (startsWith("ignore ")) {
        ++counts.ignore;
        return;
    }
    const bool greeting = !c.greeted && startsWith("connect ");
    if (!greeting && !startsWith("success") && !startsWith("huh?")) {
        ++counts.other;
        return;
    }
    ++counts.answers;
    --c.awaited;
    if (startsWith("huh?")) {
        ++counts.huh;
        if (counts.firstHuh.empty()) {
            counts.firstHuh = c.name + ": " + line;
        }
    }
    if (greeting) {
        c.greeted = true;
        queue(c, counts, "client_set -name " + c.name);
        queue(c, counts, "screen_add s");
        queue(c, counts, "screen_set s -priority foreground -name " + c.name);
        queue(c, counts, "widget_add s w string");
    }
}

// Reads what each connection has to read and writes what it can of its queue, without waiting;
// true when something was read.
bool service(std::vector<Connection>& connections, Counts& counts) {
    std::vector<pollfd> polled;
    polled.reserve(connections.size());
    for (const Connection& c : connections) {
        const short events =
            c.lost ? 0 : static_cast<short>(POLLIN | (c.out.empty() ? 0 : POLLOUT));
        polled.push_back({c.lost ? -1 : c.fd.get(), events, 0});
    }
    if (poll(polled.data(), polled.size(), 0) <= 0) {
        return false;
    }
    bool heard = false;
    char buffer[4096];
    for (size_t i = 0; i < connections.size(); ++i) {
        Connection& c = connections[i];
        if (c.lost) {
            continue;
        }
        if ((polled[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            const ssize_t got = recv(c.fd.get(), buffer, sizeof buffer, 0);
            if (got == 0) {
                lose(c, counts, "the server closed it");
                continue;
            }
            if (got < 0 && errno != EAGAIN && errno != EINTR) {
                lose(c, counts, std::strerror(errno));
                continue;
            }
            heard = heard || got > 0;
            c.in.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
            size_t start = 0;
            size_t end = c.in.find('\n');
            while (end != std::string::npos) {
                take(c, counts, c.in.substr(start, end - start));
                start = end + 1;
                end = c.in.find('\n', start);
            }
            c.in.erase(0, start);
        }
        if (!c.out.empty()) {
            const ssize_t put = send(c.fd.get(), c.out.data(), c.out.size(), MSG_NOSIGNAL);
            if (put < 0 && errno != EAGAIN && errno != EINTR) {
                lose(c, counts, std::strerror(errno));
                continue;
            }
            c.out.erase(0, static_cast<size_t>(std::max<ssize_t>(put, 0)));
            counts.backlog = std::max(counts.backlog, c.out.size());
        }
    }
    return heard;
}

// Services the connections every millisecond until done() holds and the server has been quiet
// for quietNs; false when a connection is lost, an answer is a huh? or the deadline passes.
template <typename Done>
bool serviceUntil(std::vector<Connection>& connections, Counts& counts, int64_t deadline,
                  int64_t quietNs, Done done) {
    int64_t heard = now();
    while (true) {
        if (service(connections, counts)) {
            heard = now();
        }
        if (now() - heard >= quietNs && done()) {
            return true;
        }
        if (now() >= deadline || counts.lost > 0 || counts.huh > 0) {
            return false;
        }
        sleepUntil(now() + 1'000'000);
    }
}

} // namespace

int main(int argc, char** argv) {
    const auto clients = argc == 6 ? number(argv[3], 1, 1000) : std::nullopt;
    const auto rate = argc == 6 ? number(argv[4], 1, 1000) : std::nullopt;
    const auto seconds = argc == 6 ? number(argv[5], 1, 86400) : std::nullopt;
    if (!clients || !rate || !seconds || !number(argv[2], 1, 65535)) {
        std::fprintf(stderr, "usage: lcd-load-client HOST PORT CLIENTS(1-1000) RATE(1-1000 a "
                             "second) SECONDS\n");
        return 2;
    }
    const char* host = argv[1];
    const char* port = argv[2];

    std::vector<Connection> connections(static_cast<size_t>(*clients));
    Counts counts;
    const int64_t setUpEnd = now() + kSetUpNs;
    const auto all = [&connections](auto what) {
        return std::all_of(connections.begin(), connections.end(), what);
    };
    // One connection at a time, the next once the server has greeted this one: LCDd keeps few
    // connections waiting to be accepted, and those past them wait a second to try again.
    bool ready = true;
    for (size_t i = 0; i < connections.size() && ready; ++i) {
        Connection& c = connections[i];
        c.name = "load" + std::to_string(i + 1);
        std::string why;
        c.fd = connectTo(host, port, why);
        if (c.fd.get() < 0) {
            std::fprintf(stderr, "lcd-load-client: cannot connect to %s:%s: %s\n", host, port,
                         why.c_str());
            return 1;
        }
        queue(c, counts, "hello");
        ready = serviceUntil(connections, counts, setUpEnd, 0, [&c] { return c.greeted; });
    }
    ready = ready && serviceUntil(connections, counts, setUpEnd, kQuietNs, [&all] {
                return all([](const Connection& c) { return c.greeted && c.awaited <= 0; });
            });
    if (!ready) {
        long greeted = 0;
        long unanswered = 0;
        for (const Connection& c : connections) {
            greeted += c.greeted ? 1 : 0;
            unanswered += std::max(c.awaited, 0);
        }
        std::fprintf(stderr,
                     "lcd-load-client: the server at %s:%s did not set up the clients within %lld "
                     "s: %ld of %ld greeted, %ld commands unanswered, %ld connections lost, %s\n",
                     host, port, static_cast<long long>(kSetUpNs / kNsPerSecond), greeted, *clients,
                     unanswered, counts.lost,
                     counts.firstHuh.empty() ? "no huh?" : counts.firstHuh.c_str());
        return 1;
    }
    for (Connection& c : connections) {
        c.awaited = 0; // the set-up's extra answers are all in, and count for no update
    }
    std::printf("lcd-load-client: %ld clients ready on %s:%s\n", *clients, host, port);
    std::fflush(stdout);

    // One update every step, the clients in turn; each deadline counts from the start, so a late
    // wake-up does not push the ones after it.
    const int64_t step = kNsPerSecond / (*rate * *clients);
    const int64_t updates = *seconds * *rate * *clients;
    const int64_t start = now();
    for (int64_t u = 0; u < updates; ++u) {
        const int64_t deadline = start + u * step;
        sleepUntil(deadline);
        counts.lateNs = std::max(counts.lateNs, now() - deadline);
        Connection& c = connections[static_cast<size_t>(u % *clients)];
        if (!c.lost) {
            queue(c, counts,
                  "widget_set s w 1 1 {" + c.name + " " + std::to_string(u / *clients) + "}");
            ++counts.updates;
        }
        service(connections, counts);
    }
    serviceUntil(connections, counts, now() + kDrainNs, kQuietNs, [&all] {
        return all([](const Connection& c) { return c.lost || c.awaited <= 0; });
    });

    long unanswered = 0;
    for (const Connection& c : connections) {
        unanswered += std::max(c.awaited, 0);
    }
    std::printf("lcd-load-client: %ld clients, %ld/s for %ld s: %ld commands (%ld widget_set), %ld "
                "answers, %ld huh?, %ld unanswered, %ld listen, %ld ignore, %ld other lines, %ld "
                "connections lost, largest backlog %zu B, latest wake-up %.1f ms%s%s\n",
                *clients, *rate, *seconds, counts.commands, counts.updates, counts.answers,
                counts.huh, unanswered, counts.listen, counts.ignore, counts.other, counts.lost,
                counts.backlog, static_cast<double>(counts.lateNs) / 1e6,
                counts.firstHuh.empty() ? "" : "; ", counts.firstHuh.c_str());
    return counts.huh > 0 || counts.lost > 0 ? 1 : 0;
}
