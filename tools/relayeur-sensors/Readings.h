#pragma once

#include "sources/mbm.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Orders names the way a person counts: "hwmon2" before "hwmon10", "temp2" before "temp10".
bool naturalLess(std::string_view a, std::string_view b);

// The kinds of sensor the block has slots for, ten of each.
enum class SlotKind { Temp, Volt, Fan };
inline constexpr SlotKind kSlotKinds[] = {SlotKind::Temp, SlotKind::Volt, SlotKind::Fan};
// "temp", "volt", "fan": the slot's name without its number, as the variables spell it.
std::string_view slotName(SlotKind kind);

// One sensor as libsensors lists it, or as a hwmon tree shows it.
struct Sensor {
    SlotKind kind = SlotKind::Temp;
    std::string chip;    // "nct6775-isa-0290" from libsensors; a hwmon chip's name file
    std::string feature; // "temp1", "in0", "fan2"
    std::string label;   // "Package id 0"; empty when the chip gives none
    std::string where;   // for the user: "hwmon2/temp1_input", or the feature for libsensors
    // The current value in degrees, volts or rpm; nullopt when it does not read. Empty in a
    // slot that was asked for a sensor that is not there.
    std::function<std::optional<double>()> read;
};

// Which sensor a slot asks for in sensors.ini.
struct SensorChoice {
    std::string chip;  // the chip's name, or its start up to a '-' ("nvme", "nvme-pci"); empty: any
    std::string label; // the sensor's label or its feature name; empty: the slot stays empty
};

// The slots sensors.ini fills, by kind (in the order of SlotKind), slot 1 first. A kind with no
// choice at all takes the first readable sensors of its kind, in the order they are listed.
struct SlotMap {
    std::array<std::array<std::optional<SensorChoice>, MbmLayout::kSlots>, 3> choices;
};

// Which sensor feeds which slot of the block: element i goes to slot i + 1. An element without
// a read function holds no sensor.
struct SlotAssignment {
    std::vector<Sensor> temps;
    std::vector<Sensor> volts;
    std::vector<Sensor> fans;
    int leftOut = 0;    // readable sensors beyond the ten slots of their kind
    int unreadable = 0; // sensors that did not read, left out

    std::vector<Sensor>& of(SlotKind kind);
    const std::vector<Sensor>& of(SlotKind kind) const;
    // Whether no slot holds a sensor.
    bool empty() const;
};

// The temp*, in* and fan* inputs of the chips under root (hwmon*), chips and inputs in natural
// order; values are read from the files at each reading.
std::vector<Sensor> listHwmon(const std::filesystem::path& root);

// Puts the sensors that read into the slots the map asks for; a sensor goes to one slot only.
SlotAssignment assignSlots(const std::vector<Sensor>& sensors, const SlotMap& map = {});

// "temp1 <- coretemp Package id 0 (hwmon2/temp1_input)", one line per slot in use, and
// "temp3 <- coretemp:Core 7 : introuvable" for a sensor asked for and not found.
std::vector<std::string> describeSlots(const SlotAssignment& slots);

// One line per sensor: chip, feature, label, value and the slot it takes ("aucun": none).
std::vector<std::string> listSensors(const std::vector<Sensor>& sensors,
                                     const SlotAssignment& slots);

// The assigned sensors in the block's units (whole degrees, volts, rpm); slots without a sensor,
// or whose sensor no longer reads, hold 255. Freq and Charge are left at 0.
MbmData readSensors(const SlotAssignment& slots);

// Jiffies of all processors since boot, from the first line of /proc/stat.
struct CpuTimes {
    quint64 busy = 0;
    quint64 total = 0;
};
std::optional<CpuTimes> parseCpuTimes(std::string_view procStat);
std::optional<CpuTimes> readCpuTimes(const std::filesystem::path& procStat);

// The share of the time between the two readings that the processors spent busy, in percent.
double loadPercent(const CpuTimes& before, const CpuTimes& after);

// The current frequency of the first processor in MHz: from the cpufreq file (kHz), else from
// the first "cpu MHz" line of cpuinfo, else 0.
qint32 cpuFrequencyMhz(const std::filesystem::path& scalingCurFreq,
                       const std::filesystem::path& cpuinfo);
