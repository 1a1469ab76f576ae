#pragma once

#include "EmulatedDevices.h"

#include <QString>
#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <sys/types.h>

// The emulated device files and the descriptors open on them. Everything here is used with
// Registry::mutex held.
namespace emulated::detail {

// One open file on an emulated device. Failures return -1 with errno set, as the system does.
class Handle {
public:
    virtual ~Handle() = default;
    virtual ssize_t read(void* buffer, size_t size) = 0;
    virtual ssize_t write(const void* buffer, size_t size) = 0;
    virtual int ioctl(unsigned long request, void* argument) = 0;
};

// A path that opens on an emulation.
class DeviceFile {
public:
    virtual ~DeviceFile() = default;
    virtual std::unique_ptr<Handle> open() = 0;
    // The device number stat gives, a character device.
    virtual dev_t number() const = 0;

    bool gone = false; // unplugged: open files fail with ENODEV
};

struct OpenFile {
    std::unique_ptr<Handle> handle;
    dev_t number = 0;
};

struct Registry {
    std::mutex mutex;
    std::map<QString, std::shared_ptr<DeviceFile>> files; // by the path that opens them
    std::map<int, OpenFile> open;                         // by descriptor
    std::atomic<int> openCount{0};                        // spares every other descriptor the lock
    // The modules on the devices, by the name their view files take.
    std::map<QString, std::shared_ptr<Module>> modules;
};

Registry& registry();

// A new descriptor for `handle`, -1 with errno set when none is left. It is a real descriptor
// (of /dev/null) so that its number is never given to another file. Devices whose ioctls hand
// out descriptors of their own use it too; `flags` may hold O_CLOEXEC.
int openDescriptor(std::unique_ptr<Handle> handle, dev_t number, int flags);

// The pins of a module on a 4-bit bus as they stand, however the bus reaches them.
struct ModuleWires {
    bool rs = false;
    bool readWrite = false; // RW high: a read cycle, on a module whose RW is no E2
    std::array<bool, 2> enable{};
    quint8 nibble = 0; // D7-D4
    bool backlight = false;
};
// Hands the module what its pins did going from `was` to `now`: a controller takes the nibble
// that stood while its E was high as that E falls.
void drive(Module& module, const ModuleWires& was, const ModuleWires& now);

// Adds the device of a RELAYEUR_EMULATED entry of the GPIO kind; false when it cannot be read.
bool configureGpio(const QString& entry);

// The module views follow the modules' changes.
void viewChanged();

} // namespace emulated::detail
