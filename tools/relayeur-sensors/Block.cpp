#include "Block.h"

#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void putDouble(char* at, double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, at);
}

} // namespace

QByteArray serialiseBlock(const MbmData& data) {
    QByteArray bytes(MbmLayout::kSize, '\0');
    char* block = bytes.data();
    for (int i = 0; i < MbmLayout::kSlots; ++i) {
        qToLittleEndian(data.Temp[i], block + MbmLayout::kTemp + 4 * i);
        putDouble(block + MbmLayout::kVolt + 8 * i, data.Volt[i]);
        qToLittleEndian(data.Fan[i], block + MbmLayout::kFan + 4 * i);
    }
    qToLittleEndian(data.Freq, block + MbmLayout::kFreq);
    putDouble(block + MbmLayout::kCharge, data.Charge);
    return bytes;
}

std::optional<PublishedBlock> PublishedBlock::acquire(const std::string& name, int& error) {
    while (true) {
        bool made = true;
        int fd = ::shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) {
            made = false;
            fd = ::shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
        }
        if (fd < 0 && errno == ENOENT) {
            continue; // removed between the two opens
        }
        if (fd < 0) {
            error = errno;
            return std::nullopt;
        }
        PublishedBlock block(fd, name, made);
        struct stat st {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0) {
            error = errno;
            return std::nullopt;
        }
        // The publisher that held it removed it as it ended: the name may already be another's.
        if (st.st_nlink == 0) {
            continue;
        }
        // A larger block taken over keeps its size: only what lies beyond the sample is not ours.
        if (st.st_size < MbmLayout::kSize && ::ftruncate(fd, MbmLayout::kSize) != 0) {
            error = errno;
            return std::nullopt;
        }
        return block;
    }
}

bool PublishedBlock::remove(const std::string& name, int& error) {
    const FileDescriptor block(::shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0));
    if (block.get() < 0 || ::flock(block.get(), LOCK_EX | LOCK_NB) != 0 ||
        ::shm_unlink(name.c_str()) != 0) {
        error = errno;
        return false;
    }
    return true;
}

bool PublishedBlock::removeOwn(int& error) const {
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = errno;
        return false;
    }
    if (st.st_nlink > 0 && ::shm_unlink(name.c_str()) != 0) {
        error = errno;
        return false;
    }
    return true;
}

bool PublishedBlock::write(const QByteArray& sample) const {
    return ::pwrite(fd.get(), sample.constData(), static_cast<size_t>(sample.size()), 0) ==
           static_cast<ssize_t>(sample.size());
}
