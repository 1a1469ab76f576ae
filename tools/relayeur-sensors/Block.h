#pragma once

#include "platform/FileDescriptor.h"
#include "sources/mbm.h"

#include <QByteArray>
#include <optional>
#include <string>

// The sample laid out as Relayeur reads it: MbmLayout::kSize bytes, little-endian.
QByteArray serialiseBlock(const MbmData& data);

// The shared block this program publishes into. Closing it leaves the block in place, so that
// readers keep finding it; remove() takes it away.
class PublishedBlock {
public:
    // Creates the block, or takes over an existing one of that name, with room for one sample;
    // on failure, error is the errno.
    static std::optional<PublishedBlock> create(const std::string& name, int& error);
    // Removes the block of that name; on failure, error is the errno (ENOENT: there was none).
    static bool remove(const std::string& name, int& error);

    bool write(const QByteArray& sample) const;

private:
    explicit PublishedBlock(int fd) : fd(fd) {}
    FileDescriptor fd;
};
