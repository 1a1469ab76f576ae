// GPIO character devices (/dev/gpiochipN) as libgpiod 1.6 uses them: the file must stat as a
// character device whose number sysfs repeats, and the lines are reached through the first
// version of the kernel's GPIO ioctls, each request on a descriptor of its own.

#include "DeviceFiles.h"
#include "EmulatedDevices.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/gpio.h>
#include <sys/sysmacros.h>
#include <vector>

namespace emulated {

using namespace detail;

namespace {

// The major number the kernel most often gives GPIO chips; any will do as long as sysfs agrees.
constexpr unsigned kGpioMajor = 254;
constexpr int kRaspberryPiLines = 54;
const QByteArray kHolder = "occupant";

int failWith(int error) {
    errno = error;
    return -1;
}

struct WiredModule {
    std::shared_ptr<Module> module;
    GpioPins pins;
};

// A chip, its lines' levels and who holds each.
class GpioChip : public DeviceFile, public std::enable_shared_from_this<GpioChip> {
public:
    GpioChip(const QString& name, int lineCount, unsigned minor)
        : name(name), levels(lineCount, 0), holders(lineCount), device(makedev(kGpioMajor, minor)) {
    }
    std::unique_ptr<Handle> open() override;
    dev_t number() const override { return device; }

    int lineCount() const { return static_cast<int>(levels.size()); }
    // New levels on `offsets`: the modules wired to them see their pins change.
    void set(const std::vector<unsigned>& offsets, const __u8* values);

    const QString name;
    std::vector<__u8> levels;
    std::vector<QByteArray> holders; // the consumer holding each line, empty while free
    std::vector<WiredModule> modules;

private:
    ModuleWires wiresOf(const GpioPins& pins) const;
    bool high(int line) const { return line >= 0 && line < lineCount() && levels[line]; }

    dev_t device;
};

ModuleWires GpioChip::wiresOf(const GpioPins& pins) const {
    ModuleWires wires;
    wires.rs = high(pins.rs);
    wires.enable = {high(pins.e), high(pins.e2)};
    wires.nibble = (high(pins.d4) ? 1 : 0) | (high(pins.d5) ? 2 : 0) | (high(pins.d6) ? 4 : 0) |
                   (high(pins.d7) ? 8 : 0);
    wires.backlight = pins.backlight < 0 || high(pins.backlight);
    return wires;
}

void GpioChip::set(const std::vector<unsigned>& offsets, const __u8* values) {
    std::vector<ModuleWires> before;
    for (const WiredModule& wired : modules) {
        before.push_back(wiresOf(wired.pins));
    }
    for (size_t i = 0; i < offsets.size(); ++i) {
        levels[offsets[i]] = values[i] ? 1 : 0;
    }
    for (size_t i = 0; i < modules.size(); ++i) {
        drive(*modules[i].module, before[i], wiresOf(modules[i].pins));
    }
    viewChanged();
}

// Lines held by one request, until its descriptor closes.
class LineHandle : public Handle {
public:
    LineHandle(std::shared_ptr<GpioChip> chip, std::vector<unsigned> offsets,
               const QByteArray& consumer)
        : chip(std::move(chip)), offsets(std::move(offsets)) {
        for (const unsigned offset : this->offsets) {
            this->chip->holders[offset] = consumer.isEmpty() ? QByteArray("?") : consumer;
        }
    }
    ~LineHandle() override {
        for (const unsigned offset : offsets) {
            chip->holders[offset].clear();
        }
    }

    ssize_t read(void*, size_t) override { return failWith(EINVAL); }
    ssize_t write(const void*, size_t) override { return failWith(EINVAL); }

    int ioctl(unsigned long request, void* argument) override {
        if (chip->gone) {
            return failWith(ENODEV);
        }
        auto& data = *static_cast<gpiohandle_data*>(argument);
        switch (request) {
        case GPIOHANDLE_SET_LINE_VALUES_IOCTL:
            chip->set(offsets, data.values);
            return 0;
        case GPIOHANDLE_GET_LINE_VALUES_IOCTL:
            for (size_t i = 0; i < offsets.size(); ++i) {
                data.values[i] = chip->levels[offsets[i]];
            }
            return 0;
        default:
            return failWith(ENOTTY);
        }
    }

private:
    std::shared_ptr<GpioChip> chip;
    std::vector<unsigned> offsets;
};

class ChipHandle : public Handle {
public:
    explicit ChipHandle(std::shared_ptr<GpioChip> chip) : chip(std::move(chip)) {}

    ssize_t read(void*, size_t) override { return failWith(EINVAL); }
    ssize_t write(const void*, size_t) override { return failWith(EINVAL); }

    int ioctl(unsigned long request, void* argument) override {
        if (chip->gone) {
            return failWith(ENODEV);
        }
        switch (request) {
        case GPIO_GET_CHIPINFO_IOCTL: {
            auto& info = *static_cast<gpiochip_info*>(argument);
            std::memset(&info, 0, sizeof info);
            std::strncpy(info.name, chip->name.toUtf8().constData(), sizeof info.name - 1);
            std::strncpy(info.label, "emulated", sizeof info.label - 1);
            info.lines = static_cast<__u32>(chip->lineCount());
            return 0;
        }
        case GPIO_GET_LINEINFO_IOCTL:
            return lineInfo(*static_cast<gpioline_info*>(argument));
        case GPIO_GET_LINEHANDLE_IOCTL:
            return lineHandle(*static_cast<gpiohandle_request*>(argument));
        default:
            return failWith(ENOTTY);
        }
    }

private:
    int lineInfo(gpioline_info& info) const {
        const unsigned offset = info.line_offset;
        if (offset >= static_cast<unsigned>(chip->lineCount())) {
            return failWith(EINVAL);
        }
        std::memset(&info, 0, sizeof info);
        info.line_offset = offset;
        const QByteArray& holder = chip->holders[offset];
        if (!holder.isEmpty()) {
            info.flags = GPIOLINE_FLAG_KERNEL | GPIOLINE_FLAG_IS_OUT;
            std::strncpy(info.consumer, holder.constData(), sizeof info.consumer - 1);
        }
        return 0;
    }

    // As the kernel does: every line or none, EBUSY when one is held.
    int lineHandle(gpiohandle_request& request) const {
        if (request.lines == 0 || request.lines > GPIOHANDLES_MAX) {
            return failWith(EINVAL);
        }
        const std::vector<unsigned> offsets(request.lineoffsets,
                                            request.lineoffsets + request.lines);
        for (size_t i = 0; i < offsets.size(); ++i) {
            if (offsets[i] >= static_cast<unsigned>(chip->lineCount())) {
                return failWith(EINVAL);
            }
            const bool repeated =
                std::find(offsets.begin(), offsets.begin() + i, offsets[i]) != offsets.begin() + i;
            if (repeated || !chip->holders[offsets[i]].isEmpty()) {
                return failWith(EBUSY);
            }
        }
        const QByteArray consumer(request.consumer_label,
                                  qstrnlen(request.consumer_label, sizeof request.consumer_label));
        auto handle = std::make_unique<LineHandle>(chip, offsets, consumer);
        if (request.flags & GPIOHANDLE_REQUEST_OUTPUT) {
            chip->set(offsets, request.default_values);
        }
        const int fd = openDescriptor(std::move(handle), chip->number(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        request.fd = fd;
        return 0;
    }

    std::shared_ptr<GpioChip> chip;
};

std::unique_ptr<Handle> GpioChip::open() {
    return std::make_unique<ChipHandle>(shared_from_this());
}

// A sysfs attribute: text that reads once.
class TextFile : public DeviceFile {
public:
    explicit TextFile(const QByteArray& text) : text(text) {}
    std::unique_ptr<Handle> open() override { return std::make_unique<Reader>(text); }
    dev_t number() const override { return 0; }

private:
    class Reader : public Handle {
    public:
        explicit Reader(const QByteArray& text) : text(text) {}
        ssize_t read(void* buffer, size_t size) override {
            const QByteArray part = text.mid(position, static_cast<qsizetype>(size));
            std::memcpy(buffer, part.constData(), static_cast<size_t>(part.size()));
            position += part.size();
            return part.size();
        }
        ssize_t write(const void*, size_t) override { return failWith(EACCES); }
        int ioctl(unsigned long, void*) override { return failWith(ENOTTY); }

    private:
        QByteArray text;
        qsizetype position = 0;
    };

    QByteArray text;
};

QString chipPath(const QString& chip) {
    return chip.contains(u'/') ? chip : QStringLiteral("/dev/") + chip;
}

std::shared_ptr<GpioChip> chipAt(Registry& r, const QString& chip) {
    const auto file = r.files.find(chipPath(chip));
    return file == r.files.end() ? nullptr : std::dynamic_pointer_cast<GpioChip>(file->second);
}

void addChip(Registry& r, const QString& chip, int lineCount) {
    const QString path = chipPath(chip);
    const QString name = QFileInfo(path).fileName();
    static const QRegularExpression kNumber(QStringLiteral("[0-9]+$"));
    const unsigned minor = kNumber.match(name).captured().toUInt();
    auto file = std::make_shared<GpioChip>(name, lineCount, minor);
    r.files[QStringLiteral("/sys/bus/gpio/devices/%1/dev").arg(name)] = std::make_shared<TextFile>(
        QByteArray::number(kGpioMajor) + ':' + QByteArray::number(minor) + '\n');
    r.files[path] = file;
}

} // namespace

void addGpioChip(const QString& path, int lineCount) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    addChip(r, path, lineCount);
}

Module& wireGpioModule(const QString& chip, const GpioPins& pins, int columns, int lines) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    if (!chipAt(r, chip)) {
        addChip(r, chip, kRaspberryPiLines);
    }
    const std::shared_ptr<GpioChip> file = chipAt(r, chip);
    auto module = std::make_shared<Module>(columns, lines);
    file->modules.push_back({module, pins});
    r.modules[file->name] = module;
    return *module;
}

void holdGpioLine(const QString& chip, int line) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    if (const std::shared_ptr<GpioChip> file = chipAt(r, chip);
        file && line >= 0 && line < file->lineCount()) {
        file->holders[line] = kHolder;
    }
}

bool detail::configureGpio(const QString& entry) {
    static const QRegularExpression kGpio(
        QStringLiteral("^gpio:([^:]+):([0-9,]+):([0-9]+)x([0-9])$"));
    const QRegularExpressionMatch match = kGpio.match(entry);
    const QStringList fields = match.captured(2).split(u',');
    if (!match.hasMatch() || fields.size() < 6 || fields.size() > 8) {
        return false;
    }
    std::vector<int> lines;
    for (const QString& field : fields) {
        lines.push_back(field.isEmpty() ? -1 : field.toInt());
    }
    lines.resize(8, -1);
    if (std::any_of(lines.begin(), lines.begin() + 6, [](int line) { return line < 0; })) {
        return false;
    }
    wireGpioModule(
        match.captured(1),
        GpioPins{lines[0], lines[1], lines[2], lines[3], lines[4], lines[5], lines[6], lines[7]},
        match.captured(3).toInt(), match.captured(4).toInt());
    return true;
}

} // namespace emulated
