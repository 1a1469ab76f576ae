#include "sources/mbm.h"

#include <QCoreApplication>
#include <QtEndian>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

template <typename T> T readField(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

double readDouble(const QByteArray& bytes, qsizetype offset) {
    const quint64 bits = readField<quint64>(bytes, offset);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

MbmData decode(const QByteArray& bytes) {
    MbmData data;
    for (int i = 0; i < MbmLayout::kSlots; ++i) {
        data.Temp[i] = readField<qint32>(bytes, MbmLayout::kTemp + 4 * i);
        data.Volt[i] = readDouble(bytes, MbmLayout::kVolt + 8 * i);
        data.Fan[i] = readField<qint32>(bytes, MbmLayout::kFan + 4 * i);
    }
    data.Freq = readField<qint32>(bytes, MbmLayout::kFreq);
    data.Charge = readDouble(bytes, MbmLayout::kCharge);
    return data;
}

bool inSlots(qint16 index) {
    return index >= 1 && index <= MbmLayout::kSlots;
}

} // namespace

void MbmTest(MbmLink& link, PresenceFlags& flags, MessageBoxes& boxes, const QString& appTitle) {
    flags.MbmPresent = true;
    link.block = SharedMemory::openReadOnly(link.blockName, MbmLayout::kSize);
    if (!link.block) {
        boxes.show(appTitle,
                   QCoreApplication::translate("mbm",
                                               "Vous n'avez pas lancer motherBoard Monitor.\n\r"
                                               "Vous ne pourrais pas accéder aux variables de Mbm"),
                   MessageIcon::Information);
        flags.MbmPresent = false;
    }
}

MbmData MbmRead(const MbmLink& link, MessageBoxes& boxes, const QString& appTitle) {
    const std::optional<QByteArray> bytes =
        link.block ? link.block->copy(MbmLayout::kSize) : std::nullopt;
    if (bytes && bytes->size() == MbmLayout::kSize) {
        link.readFailure.clear();
        return decode(*bytes);
    }
    // This runs for every sensor variable on every refresh: a box each time would bury the user,
    // so it is shown once until the block reads again.
    if (link.readFailure.first()) {
        boxes.show(appTitle, QStringLiteral("MBM Data File/Mem could not be opened. Sorry."),
                   MessageIcon::None);
    }
    return MbmData{};
}

double roundToHundredths(double v) {
    // Beyond this every double is a whole number, and the cents would not fit in 64 bits.
    if (!std::isfinite(v) || std::fabs(v) >= 1e15) {
        return v;
    }
    // The shortest decimal text that reads back as v is what the value means (2.675 is stored
    // a hair below 2.675), so the tie is decided on those digits, not on the binary value.
    char buffer[400];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::fixed);
    const std::string_view text(buffer, written.ptr - buffer);
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);

    qint64 cents = 0;
    for (const char c : whole) {
        cents = cents * 10 + (c - '0');
    }
    for (size_t i = 0; i < 2; ++i) {
        cents = cents * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    if (fraction.size() > 2) {
        const char first = fraction[2];
        const bool beyondHalf = fraction.find_first_not_of('0', 3) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || cents % 2 != 0))) {
            ++cents;
        }
    }
    if (cents == 0) {
        return 0.0; // no "-0" on the panel
    }
    const double rounded = static_cast<double>(cents) / 100.0;
    return v < 0 ? -rounded : rounded;
}

double MbmValue(const MbmLink& link, MessageBoxes& boxes, const QString& appTitle, qint16 index,
                SensorKind kind) {
    double result = 0;
    const MbmData data = MbmRead(link, boxes, appTitle);
    switch (kind) {
    case SensorKind::Temp:
        if (inSlots(index) && data.Temp[index - 1] != kMbmNoSensor) {
            result = data.Temp[index - 1];
        }
        break;
    case SensorKind::Fan:
        if (inSlots(index) && data.Fan[index - 1] != kMbmNoSensor) {
            result = data.Fan[index - 1];
        }
        break;
    case SensorKind::Volt:
        if (inSlots(index) && data.Volt[index - 1] != kMbmNoSensor) {
            result = roundToHundredths(data.Volt[index - 1]);
        }
        break;
    case SensorKind::Freq:
        result = data.Freq;
        break;
    case SensorKind::Charge:
        result = data.Charge;
        break;
    }
    return result;
}
