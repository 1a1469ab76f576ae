#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <sys/types.h>

// A command run by /bin/sh -c in a session of its own, so that it and everything it starts can be
// killed together; its standard input is /dev/null, its standard output a pipe read by finish().
// Every call waits: meant for a worker thread. Whatever still runs when the object goes is killed,
// and the command is reaped then, not before: until that its process group cannot be reused.
class ChildProcess {
public:
    explicit ChildProcess(const QByteArray& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // 0 once started, else the errno of the failure.
    int startError() const { return error; }
    // The process group of the command and its children; 0 when it did not start.
    pid_t processGroup() const { return pid; }

    struct Result {
        enum class End { Exited, Signalled, TimedOut };
        End end = End::Exited;
        int code = 0;      // exit status or signal number
        QByteArray output; // the first `keep` bytes it wrote; the rest is read and dropped
    };
    // Reads the output until the command ends (what its children still write afterwards is not
    // awaited), or until `timeoutMs` have passed: then the whole group is killed.
    Result finish(int timeoutMs, qsizetype keep);

private:
    void killGroup() const;

    pid_t pid = 0;
    int error = 0;
    bool ended = false; // exited or killed and awaited, not yet reaped
    FileDescriptor output;
    FileDescriptor exitWatch; // readable once the command has ended
};
