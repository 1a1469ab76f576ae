#include "EmulatedDevices.h"

#include "BusTiming.h"
#include "DeviceFiles.h"
#include "I2cBus.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace emulated {

namespace detail {
Registry& registry() {
    static Registry shared;
    return shared;
}
} // namespace detail

using namespace detail;

namespace {

std::shared_ptr<I2cBusFile> busAt(Registry& r, const QString& path) {
    auto& file = r.files[path];
    auto bus = std::dynamic_pointer_cast<I2cBusFile>(file);
    if (!bus) {
        bus = std::make_shared<I2cBusFile>(path);
        file = bus;
    }
    return bus;
}

QString viewName(const QString& bus, int address) {
    return QStringLiteral("%1-0x%2")
        .arg(QFileInfo(bus).fileName())
        .arg(address, 2, 16, QLatin1Char('0'));
}

} // namespace

Module::Module(int columns, int lines)
    : columnCount(qBound(1, columns, Hd44780::kMaxColumns)),
      lineCount(qBound(1, lines, Hd44780::kMaxLines)) {
    if (lineCount > 2 && columnCount > 20) {
        chips.emplace_back(columnCount, 2);
        chips.emplace_back(columnCount, lineCount - 2);
    } else {
        chips.emplace_back(columnCount, lineCount);
    }
}

int Module::controllers() const {
    return static_cast<int>(chips.size());
}

const Hd44780& Module::showing(int line, int& row) const {
    const bool lower = line >= 2 && chips.size() > 1;
    row = lower ? line - 2 : line;
    return chips[lower ? 1 : 0];
}

QByteArray Module::line(int line) const {
    const std::lock_guard lock(mutex);
    int row = 0;
    return showing(line, row).line(row);
}

GlyphRows Module::glyph(int controller, int slot) const {
    const std::lock_guard lock(mutex);
    return chips[qBound(0, controller, controllers() - 1)].glyph(slot);
}

bool Module::backlight() const {
    const std::lock_guard lock(mutex);
    return lit;
}

bool Module::displayOn(int line) const {
    const std::lock_guard lock(mutex);
    int row = 0;
    return showing(line, row).displayOn();
}

void Module::latch(int controller, bool data, quint8 nibble) {
    const std::lock_guard lock(mutex);
    Hd44780& chip = chips[qBound(0, controller, controllers() - 1)];
    const quint8 bus = static_cast<quint8>(nibble << 4);
    if (data) {
        chip.writeData(bus);
    } else {
        chip.writeInstruction(bus);
    }
    ++changeCount;
}

void Module::setBacklight(bool on) {
    const std::lock_guard lock(mutex);
    if (lit != on) {
        lit = on;
        ++changeCount;
    }
}

quint64 Module::changes() const {
    const std::lock_guard lock(mutex);
    return changeCount;
}

void detail::drive(Module& module, const ModuleWires& was, const ModuleWires& now) {
    for (int controller = 0; controller < module.controllers(); ++controller) {
        // A read cycle writes nothing.
        if (was.enable[controller] && !now.enable[controller] && !was.readWrite) {
            module.latch(controller, was.rs, was.nibble);
        }
    }
    module.setBacklight(now.backlight);
}

std::optional<BackpackPins> backpackWiring(int number) {
    switch (number) {
    case 1: // RS P0, RW P1, E P2, backlight P3 (lit high), D4-D7 P4-P7
        return BackpackPins{0, 1, 2, 3, 4, 5, 6, 7, true};
    case 2: // D4-D7 P0-P3, RS P4, RW P5, E P6, backlight P7 (lit low)
        return BackpackPins{4, 5, 6, 7, 0, 1, 2, 3, false};
    case 3: // D4-D7 P0-P3, E P4, RW P5, RS P6, backlight P7 (lit low)
        return BackpackPins{6, 5, 4, 7, 0, 1, 2, 3, false};
    default:
        return std::nullopt;
    }
}

void reset() {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    for (auto& [path, file] : r.files) {
        file->gone = true;
    }
    r.files.clear();
    r.modules.clear();
}

void addI2cBus(const QString& path) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    busAt(r, path);
}

Module& addBackpack(const QString& bus, int address, const BackpackPins& pins, int columns,
                    int lines) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    auto module = std::make_shared<Module>(columns, lines);
    busAt(r, bus)->targets[address] = std::make_shared<Backpack>(module, pins);
    r.modules[viewName(bus, address)] = module;
    return *module;
}

void addI2cDevice(const QString& bus, int address, quint8 answer) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    busAt(r, bus)->targets[address] = std::make_shared<PlainTarget>(answer);
}

int bytesWrittenTo(const QString& bus, int address) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto file = r.files.find(bus);
    const auto i2c =
        file == r.files.end() ? nullptr : std::dynamic_pointer_cast<I2cBusFile>(file->second);
    if (!i2c || !i2c->targets.contains(address)) {
        return 0;
    }
    return i2c->targets[address]->written;
}

void unplug(const QString& path) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    if (const auto file = r.files.find(path); file != r.files.end()) {
        file->second->gone = true;
        r.files.erase(file);
    }
}

QStringList configure(const QString& devices) {
    static const QRegularExpression kI2c(
        QStringLiteral("^i2c:([^:]+):(?:0x)?([0-9a-fA-F]{1,2}):([0-9]):([0-9]+)x([0-9])$"));
    QStringList problems;
    for (QString entry : devices.split(u';', Qt::SkipEmptyParts)) {
        entry = entry.trimmed();
        if (entry.startsWith(QStringLiteral("gpio:"))) {
            if (!configureGpio(entry)) {
                problems << QStringLiteral("périphérique émulé illisible : %1 (gpio:PUCE:RS,E,D4,"
                                           "D5,D6,D7[,BL[,E2]]:COLONNESxLIGNES attendu)")
                                .arg(entry);
            }
            continue;
        }
        const QRegularExpressionMatch match = kI2c.match(entry);
        const std::optional<BackpackPins> pins =
            match.hasMatch() ? backpackWiring(match.captured(3).toInt()) : std::nullopt;
        if (!pins) {
            problems << QStringLiteral("périphérique émulé illisible : %1 (i2c:BUS:ADRESSE:"
                                       "BROCHAGE:COLONNESxLIGNES attendu, brochage 1 à 3)")
                            .arg(entry);
            continue;
        }
        addBackpack(match.captured(1), match.captured(2).toInt(nullptr, 16), *pins,
                    match.captured(4).toInt(), match.captured(5).toInt());
    }
    return problems;
}

namespace {
// Preloaded into a program, the devices come from its environment.
__attribute__((constructor)) void configureFromEnvironment() {
    const QString devices = qEnvironmentVariable("RELAYEUR_EMULATED");
    for (const QString& problem : configure(devices)) {
        std::fprintf(stderr, "emulated-devices: %s\n", problem.toUtf8().constData());
    }
    setViewFolder(qEnvironmentVariable("RELAYEUR_EMULATED_VIEW"));
    // For benchmarks: buses as slow as real ones, and the time each frame took on them.
    detail::setI2cClock(qEnvironmentVariableIntValue("RELAYEUR_EMULATED_I2C_HZ"));
    detail::setBusStatistics(qgetenv("RELAYEUR_EMULATED_STATS").toStdString());
}

} // namespace

} // namespace emulated
