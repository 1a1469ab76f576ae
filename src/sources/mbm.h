#pragma once

#include "model/DisplayConfig.h"
#include "model/FaultReport.h"
#include "platform/MessageBoxes.h"
#include "platform/SharedMemory.h"

#include <QString>
#include <array>
#include <optional>

// The shared block in which Motherboard Monitor (or relayeur-sensors) publishes its readings.
inline const QString kMbmBlockName = QStringLiteral("/$M$B$M$5$D$");

// Where each field lies in the block (little-endian); only the first kSize bytes are used.
namespace MbmLayout {
constexpr qsizetype kTemp = 0;     // 10 x int32, sensors 1 to 10
constexpr qsizetype kVolt = 40;    // 10 x double
constexpr qsizetype kFan = 120;    // 10 x int32
constexpr qsizetype kFreq = 160;   // int32, MHz
constexpr qsizetype kCharge = 168; // double, CPU load in percent
constexpr qsizetype kSize = 197;
constexpr int kSlots = 10;
} // namespace MbmLayout

// What a sensor slot holds when the producer has no sensor for it.
constexpr qint32 kMbmNoSensor = 255;

struct MbmLink {
    QString blockName = kMbmBlockName;
    // The block as MbmTest found it, mapped for the whole run: every reading goes through this
    // mapping, so once the producer ends and removes the block the last values it published stay.
    std::optional<SharedMemory> block;
    // Bookkeeping of MbmRead, not of the block: whether the read failure has been shown.
    mutable FaultLatch readFailure;
};

struct MbmData {
    std::array<qint32, MbmLayout::kSlots> Temp{};
    std::array<double, MbmLayout::kSlots> Volt{};
    std::array<qint32, MbmLayout::kSlots> Fan{};
    qint32 Freq = 0;
    double Charge = 0;
};

// Start-up presence test: maps the block and sets MbmPresent, with a message box when the block
// is missing.
void MbmTest(MbmLink& link, PresenceFlags& flags, MessageBoxes& boxes, const QString& appTitle);

// A fresh copy of the block through the mapping MbmTest made. When there is none, or the block
// is shorter than the record: a message box (once until a read succeeds again) and a record of
// zeros.
MbmData MbmRead(const MbmLink& link, MessageBoxes& boxes, const QString& appTitle);

// What a reading measures: each kind has its own field of the block.
enum class SensorKind { Temp, Fan, Volt, Freq, Charge };

// One reading, read afresh: Temp, Fan and Volt take the sensor's index (1 to 10), Freq and
// Charge ignore it. Empty slots (255) and indexes outside 1..10 give 0; volts are rounded to two
// decimals, halves to even.
double MbmValue(const MbmLink& link, MessageBoxes& boxes, const QString& appTitle, qint16 index,
                SensorKind kind);

// v rounded to two decimals, halves to even, as v reads in decimal (2.675 -> 2.68).
double roundToHundredths(double v);
