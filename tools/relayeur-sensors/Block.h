#pragma once

#include "platform/FileDescriptor.h"
#include "sources/mbm.h"

#include <QByteArray>
#include <optional>
#include <string>
#include <utility>

// The sample laid out as Relayeur reads it: MbmLayout::kSize bytes, little-endian.
QByteArray serialiseBlock(const MbmData& data);

// The shared block this program publishes into, for one publisher at a time: the publisher
// holds a lock on the block itself, which goes with its process however that ends. Closing it
// leaves the block in place, so that readers keep finding it.
class PublishedBlock {
public:
    // Takes the block of that name, creating it when there is none (or taking over one that no
    // publisher holds), with room for one sample. On failure, error is the errno: EWOULDBLOCK
    // when another publisher holds the block, which is then left as it is.
    static std::optional<PublishedBlock> acquire(const std::string& name, int& error);
    // Removes the block of that name unless a publisher holds it; on failure, error is the
    // errno (ENOENT: there was none; EWOULDBLOCK: a publisher holds it).
    static bool remove(const std::string& name, int& error);

    bool write(const QByteArray& sample) const;
    // Whether this publisher made the block, rather than found it there.
    bool created() const { return made; }
    // Removes this publisher's block, unless it is no longer the one under its name.
    bool removeOwn(int& error) const;

private:
    PublishedBlock(int fd, std::string name, bool made)
        : fd(fd), name(std::move(name)), made(made) {}
    FileDescriptor fd;
    std::string name;
    bool made;
};
