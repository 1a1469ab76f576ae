#include "MemoryStatus.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Lines read "MemTotal:       16318480 kB".
qint64 field(std::string_view text, std::string_view name) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= name.size() || !line.starts_with(name) || line[name.size()] != ':') {
            continue;
        }
        std::string_view rest = line.substr(name.size() + 1);
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        qint64 value = 0;
        const std::from_chars_result parsed =
            std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (parsed.ec != std::errc()) {
            return 0;
        }
        const std::string_view unit(parsed.ptr, rest.data() + rest.size() - parsed.ptr);
        return unit.find("kB") != std::string_view::npos ? value * 1024 : value;
    }
    return 0;
}

FileDescriptor openMeminfo() {
    return FileDescriptor(::open("/proc/meminfo", O_RDONLY | O_CLOEXEC));
}

} // namespace

MemoryStatus parseMeminfo(std::string_view text) {
    const qint64 memTotal = field(text, "MemTotal");
    const qint64 memAvailable = field(text, "MemAvailable");
    return {memTotal, memAvailable, memTotal + field(text, "SwapTotal"),
            memAvailable + field(text, "SwapFree")};
}

MeminfoFile::MeminfoFile() : file(openMeminfo()) {}

MemoryStatus MeminfoFile::read() {
    if (file.get() < 0) {
        file = openMeminfo();
        if (file.get() < 0) {
            return {};
        }
    }
    // Called for every line with memory figures on every refresh: one read into the stack, no
    // allocation. The kernel hands the whole file to a single read that is large enough.
    char buffer[8192];
    const ssize_t size = ::pread(file.get(), buffer, sizeof buffer, 0);
    if (size <= 0) {
        return {};
    }
    return parseMeminfo(std::string_view(buffer, static_cast<size_t>(size)));
}
