#include "platform/NonBlockingStream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace stream {
namespace {

// The bytes read at a time.
constexpr qsizetype kPiece = 4096;

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

// send() and recv() keep a blocking socket from waiting and a broken one from raising SIGPIPE;
// anything else, a serial line, is opened non-blocking and has no signal to fear.
ssize_t put(int fd, const char* bytes, size_t size) {
    const ssize_t sent = ::send(fd, bytes, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    return sent < 0 && errno == ENOTSOCK ? ::write(fd, bytes, size) : sent;
}

ssize_t take(int fd, char* bytes, size_t size) {
    const ssize_t got = ::recv(fd, bytes, size, MSG_DONTWAIT);
    return got < 0 && errno == ENOTSOCK ? ::read(fd, bytes, size) : got;
}

// Waits for `events` on `fd` until `deadline`: what poll() saw, 0 when the time ran out.
short await(int fd, short events, QDeadlineTimer deadline) {
    pollfd watched{fd, events, 0};
    int ready;
    do {
        ready = ::poll(&watched, 1, int(std::min<qint64>(deadline.remainingTime(), INT_MAX)));
    } while (ready < 0 && errno == EINTR);
    return ready > 0 ? watched.revents : 0;
}

} // namespace

int writeSome(int fd, QByteArray& queue) {
    while (!queue.isEmpty()) {
        const ssize_t sent = put(fd, queue.constData(), size_t(queue.size()));
        if (sent >= 0) {
            queue.remove(0, sent);
        } else if (wouldBlock(errno)) {
            return 0;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

std::optional<int> readSome(int fd, QByteArray& into, qsizetype limit) {
    while (limit > 0) {
        const qsizetype start = into.size();
        const qsizetype piece = std::min(limit, kPiece);
        into.resize(start + piece);
        const ssize_t got = take(fd, into.data() + start, size_t(piece));
        const int error = errno;
        into.resize(start + std::max<qsizetype>(got, 0));
        if (got > 0) {
            limit -= got;
        } else if (got == 0) {
            return 0;
        } else if (wouldBlock(error)) {
            return std::nullopt;
        } else if (error != EINTR) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<int> readOnce(int fd, QByteArray& into, qsizetype limit) {
    const qsizetype start = into.size();
    into.resize(start + limit);
    ssize_t got;
    do {
        got = take(fd, into.data() + start, size_t(limit));
    } while (got < 0 && errno == EINTR);
    const int error = errno;
    into.resize(start + std::max<qsizetype>(got, 0));
    if (got > 0 || (got < 0 && wouldBlock(error))) {
        return std::nullopt;
    }
    return got == 0 ? 0 : error;
}

bool hungUp(int fd) {
    pollfd watched{fd, POLLOUT, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLHUP | POLLERR));
}

bool writeAll(int fd, QByteArray& queue, QDeadlineTimer deadline) {
    while (writeSome(fd, queue) == 0) {
        if (queue.isEmpty()) {
            return true;
        }
        const short seen = await(fd, POLLOUT, deadline);
        if (seen == 0 || (seen & (POLLHUP | POLLERR | POLLNVAL))) {
            return false;
        }
    }
    return false;
}

bool readAll(int fd, QByteArray& into, qsizetype size, QDeadlineTimer deadline) {
    // A hang-up may come with the last bytes: only a read tells the end.
    while (into.size() < size) {
        if (readSome(fd, into, size - into.size()) && into.size() < size) {
            return false;
        }
        if (into.size() < size && await(fd, POLLIN, deadline) == 0) {
            return false;
        }
    }
    return true;
}

} // namespace stream
