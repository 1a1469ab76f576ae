#pragma once

#include "sources/mbm.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Orders names the way a person counts: "hwmon2" before "hwmon10", "temp2" before "temp10".
bool naturalLess(std::string_view a, std::string_view b);

// One reading of a hwmon chip, e.g. hwmon2/temp1_input.
struct HwmonSensor {
    std::filesystem::path input; // the *_input file
    std::string chip;            // the chip's name file, e.g. "coretemp"
    std::string label;           // the matching *_label file, empty when there is none
    std::string where;           // "hwmon2/temp1_input", for the user
};

// Which sensor feeds which slot of the block: element i goes to slot i + 1.
struct SlotAssignment {
    std::vector<HwmonSensor> temps;
    std::vector<HwmonSensor> volts;
    std::vector<HwmonSensor> fans;
    int leftOut = 0;    // readable sensors beyond the slots of their kind
    int unreadable = 0; // inputs that did not read as a number, left out

    bool empty() const { return temps.empty() && volts.empty() && fans.empty(); }
};

// Walks the chips under root (hwmon*, in natural order) and their temp*, in* and fan* inputs
// (in natural order), keeping those that read as a number.
SlotAssignment scanHwmon(const std::filesystem::path& root);

// "temp1 <- coretemp Package id 0 (hwmon2/temp1_input)", one line per slot in use.
std::vector<std::string> describeSlots(const SlotAssignment& slots);

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
