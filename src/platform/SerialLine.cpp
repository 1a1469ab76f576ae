#include "platform/SerialLine.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>

SerialLine::SerialLine(const QByteArray& path, speed_t speed, bool readable) {
    FileDescriptor opened(::open(path.constData(), (readable ? O_RDWR : O_WRONLY) | O_NOCTTY |
                                                       O_NONBLOCK | O_CLOEXEC));
    const int line = opened.get();
    if (line < 0) {
        failure = errno;
        return;
    }
    // TIOCEXCL refuses any later open but root's; the lock also stops root and programs such as
    // picocom that take it.
    if (::ioctl(line, TIOCEXCL) != 0 || ::flock(line, LOCK_EX | LOCK_NB) != 0) {
        failure = errno == EWOULDBLOCK ? EBUSY : errno;
        return;
    }
    termios settings{};
    if (::tcgetattr(line, &settings) != 0) {
        failure = errno;
        return;
    }
    found = settings;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(CSTOPB | CRTSCTS);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
        ::tcsetattr(line, TCSANOW, &settings) != 0) {
        failure = errno;
        return;
    }
    fd = std::move(opened);
}

SerialLine::~SerialLine() {
    if (isOpen()) {
        ::tcsetattr(fd.get(), TCSANOW, &found);
    }
}

std::optional<speed_t> lineSpeed(int bitsPerSecond) {
    switch (bitsPerSecond) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return std::nullopt;
    }
}
