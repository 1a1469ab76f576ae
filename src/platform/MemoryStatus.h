#pragma once

#include "platform/FileDescriptor.h"

#include <QtGlobal>
#include <string_view>

// The machine's memory in bytes. The page file is memory plus swap.
struct MemoryStatus {
    qint64 totalPhys = 0;     // MemTotal
    qint64 availPhys = 0;     // MemAvailable
    qint64 totalPageFile = 0; // MemTotal + SwapTotal
    qint64 availPageFile = 0; // MemAvailable + SwapFree
};

// /proc/meminfo kept open, so that each reading costs one read at its start: the kernel writes
// the figures afresh for every read from offset 0. It opens again when it could not.
class MeminfoFile {
public:
    MeminfoFile();
    // All zeros when the file cannot be read.
    MemoryStatus read();

private:
    FileDescriptor file;
};

// The figures of a /proc/meminfo text; a field that is missing counts as 0.
MemoryStatus parseMeminfo(std::string_view text);
