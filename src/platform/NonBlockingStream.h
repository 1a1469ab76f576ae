#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <limits>
#include <optional>

// A byte stream on a descriptor, a socket or a serial line, used without blocking: each call
// does what the descriptor allows at once, but for the *All ones, which wait up to a deadline.
// What is to be written waits in a queue of the caller's, which loses what went out.
namespace stream {

// Writes what `fd` takes now of `queue` and removes it from there: 0, or the error number of a
// broken stream. A socket whose other end has gone raises no SIGPIPE.
int writeSome(int fd, QByteArray& queue);

// Appends to `into` what has arrived on `fd`, `limit` bytes at most: nothing while the stream
// lasts, else 0 where the other end closed it, or the error number that broke it.
std::optional<int> readSome(int fd, QByteArray& into,
                            qsizetype limit = std::numeric_limits<qsizetype>::max());

// As readSome, with a single read: a caller that knows data waits saves the read that would find
// none.
std::optional<int> readOnce(int fd, QByteArray& into, qsizetype limit);

// True where the other end hung up or the descriptor failed: a serial line that has gone says so
// only this way.
bool hungUp(int fd);

// Writes all of `queue`, waiting for room until `deadline`: true once it is all gone; false, with
// the rest still queued, when the time ran out or the stream broke.
bool writeAll(int fd, QByteArray& queue, QDeadlineTimer deadline);

// Reads until `into` holds `size` bytes, waiting until `deadline`: false when the time ran out or
// the stream ended first.
bool readAll(int fd, QByteArray& into, qsizetype size, QDeadlineTimer deadline);

} // namespace stream
