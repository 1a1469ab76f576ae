#include "Readings.h"

#include "model/IsDigit.h"

#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        return std::nullopt;
    }
    return text.str();
}

// The whole content of the file as a number (sysfs files hold one value and a newline).
template <typename Number> std::optional<Number> readNumber(const fs::path& path) {
    const std::optional<std::string> text = readText(path);
    if (!text) {
        return std::nullopt;
    }
    const std::string_view value = trimmed(*text);
    Number number{};
    const std::from_chars_result parsed =
        std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || parsed.ec != std::errc() || parsed.ptr != value.data() + value.size()) {
        return std::nullopt;
    }
    return number;
}

// The number in "temp12_input" for prefix "temp"; nullopt for any other file.
std::optional<std::string> inputNumber(std::string_view file, std::string_view prefix) {
    constexpr std::string_view suffix = "_input";
    if (!file.starts_with(prefix) || !file.ends_with(suffix) ||
        file.size() <= prefix.size() + suffix.size()) {
        return std::nullopt;
    }
    const std::string_view number =
        file.substr(prefix.size(), file.size() - prefix.size() - suffix.size());
    if (!std::all_of(number.begin(), number.end(), isDigit)) {
        return std::nullopt;
    }
    return std::string(number);
}

std::vector<fs::directory_entry> sortedEntries(const fs::path& dir) {
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return naturalLess(a.path().filename().native(), b.path().filename().native());
    });
    return entries;
}

// The chip's inputs of each kind, with the file prefix hwmon gives them and the factor that
// turns their integer into the block's unit (millidegrees, millivolts, rpm).
struct HwmonKind {
    SlotKind kind;
    std::string_view prefix;
    double scale;
};
constexpr HwmonKind kHwmonKinds[] = {
    {SlotKind::Temp, "temp", 1000.0}, {SlotKind::Volt, "in", 1000.0}, {SlotKind::Fan, "fan", 1.0}};

void listChip(const fs::path& chipDir, std::vector<Sensor>& sensors) {
    const std::string chipDirName = chipDir.filename().native();
    const std::optional<std::string> nameFile = readText(chipDir / "name");
    const std::string chip = nameFile ? std::string(trimmed(*nameFile)) : chipDirName;

    for (const fs::directory_entry& entry : sortedEntries(chipDir)) {
        const std::string file = entry.path().filename().native();
        for (const HwmonKind& kind : kHwmonKinds) {
            const std::optional<std::string> number = inputNumber(file, kind.prefix);
            if (!number) {
                continue;
            }
            const std::string feature = std::string(kind.prefix) + *number;
            const std::optional<std::string> label = readText(chipDir / (feature + "_label"));
            sensors.push_back(
                {kind.kind, chip, feature, label ? std::string(trimmed(*label)) : std::string(),
                 chipDirName + "/" + file, [input = entry.path(), scale = kind.scale]() {
                     const std::optional<qint64> raw = readNumber<qint64>(input);
                     return raw ? std::optional(static_cast<double>(*raw) / scale) : std::nullopt;
                 }});
            break;
        }
    }
}

// "nvme-pci-0100" is asked for as itself, or by its start up to a '-': "nvme", "nvme-pci".
bool chipMatches(std::string_view chip, std::string_view asked) {
    return asked.empty() || chip == asked ||
           (chip.starts_with(asked) && chip.size() > asked.size() && chip[asked.size()] == '-');
}

bool matches(const Sensor& sensor, SlotKind kind, const SensorChoice& choice) {
    return sensor.kind == kind && !choice.label.empty() && chipMatches(sensor.chip, choice.chip) &&
           (sensor.label == choice.label || sensor.feature == choice.label);
}

std::string choiceText(const Sensor& asked) {
    return asked.chip.empty() ? asked.label : asked.chip + ":" + asked.label;
}

bool sameSensor(const Sensor& a, const Sensor& b) {
    return a.kind == b.kind && a.chip == b.chip && a.where == b.where;
}

// "temp3", or "aucun" for a sensor in no slot.
std::string slotOf(const Sensor& sensor, const SlotAssignment& slots) {
    const std::vector<Sensor>& ofKind = slots.of(sensor.kind);
    for (size_t i = 0; i < ofKind.size(); ++i) {
        if (ofKind[i].read && sameSensor(ofKind[i], sensor)) {
            return std::string(slotName(sensor.kind)) + std::to_string(i + 1);
        }
    }
    return QCoreApplication::translate("Readings", "aucun").toStdString();
}

// Characters, not bytes, of UTF-8 text: what a terminal column counts.
size_t displayWidth(std::string_view text) {
    return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

std::string valueText(SlotKind kind, std::optional<double> value) {
    if (!value) {
        return QCoreApplication::translate("Readings", "illisible").toStdString();
    }
    char text[64] = {};
    switch (kind) {
    case SlotKind::Temp:
        std::snprintf(text, sizeof text, "%.1f °C", *value);
        break;
    case SlotKind::Volt:
        std::snprintf(text, sizeof text, "%.3f V", *value);
        break;
    case SlotKind::Fan:
        std::snprintf(text, sizeof text, "%.0f", *value);
        return QCoreApplication::translate("Readings", "%1 tr/min")
            .arg(QString::fromLatin1(text))
            .toStdString();
    }
    return text;
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const size_t aEnd = std::find_if_not(a.begin() + i, a.end(), isDigit) - a.begin();
            const size_t bEnd = std::find_if_not(b.begin() + j, b.end(), isDigit) - b.begin();
            std::string_view aRun = a.substr(i, aEnd - i);
            std::string_view bRun = b.substr(j, bEnd - j);
            aRun.remove_prefix(std::min(aRun.find_first_not_of('0'), aRun.size()));
            bRun.remove_prefix(std::min(bRun.find_first_not_of('0'), bRun.size()));
            if (aRun.size() != bRun.size()) {
                return aRun.size() < bRun.size();
            }
            if (aRun != bRun) {
                return aRun < bRun;
            }
            i = aEnd;
            j = bEnd;
        } else {
            if (a[i] != b[j]) {
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::string_view slotName(SlotKind kind) {
    switch (kind) {
    case SlotKind::Temp:
        return "temp";
    case SlotKind::Volt:
        return "volt";
    case SlotKind::Fan:
        break;
    }
    return "fan";
}

std::vector<Sensor>& SlotAssignment::of(SlotKind kind) {
    return kind == SlotKind::Temp ? temps : kind == SlotKind::Volt ? volts : fans;
}

const std::vector<Sensor>& SlotAssignment::of(SlotKind kind) const {
    return const_cast<SlotAssignment*>(this)->of(kind);
}

bool SlotAssignment::empty() const {
    return std::none_of(kSlotKinds, std::end(kSlotKinds), [this](SlotKind kind) {
        return std::any_of(of(kind).begin(), of(kind).end(),
                           [](const Sensor& sensor) { return bool(sensor.read); });
    });
}

std::vector<Sensor> listHwmon(const fs::path& root) {
    std::vector<Sensor> sensors;
    for (const fs::directory_entry& entry : sortedEntries(root)) {
        std::error_code error;
        if (entry.path().filename().native().starts_with("hwmon") && entry.is_directory(error)) {
            listChip(entry.path(), sensors);
        }
    }
    return sensors;
}

SlotAssignment assignSlots(const std::vector<Sensor>& sensors, const SlotMap& map) {
    SlotAssignment all;
    std::vector<Sensor> readable;
    for (const Sensor& sensor : sensors) {
        if (sensor.read && sensor.read()) {
            readable.push_back(sensor);
        } else {
            ++all.unreadable;
        }
    }
    for (SlotKind kind : kSlotKinds) {
        std::vector<Sensor>& slots = all.of(kind);
        const auto& wanted = map.choices[static_cast<size_t>(kind)];
        if (std::none_of(wanted.begin(), wanted.end(),
                         [](const auto& choice) { return choice.has_value(); })) {
            for (const Sensor& sensor : readable) {
                if (sensor.kind != kind) {
                    continue;
                }
                if (slots.size() < MbmLayout::kSlots) {
                    slots.push_back(sensor);
                } else {
                    ++all.leftOut;
                }
            }
            continue;
        }
        for (size_t slot = 0; slot < wanted.size(); ++slot) {
            if (!wanted[slot]) {
                continue;
            }
            slots.resize(slot + 1, Sensor{kind, {}, {}, {}, {}, {}});
            const auto found = std::find_if(readable.begin(), readable.end(), [&](const Sensor& s) {
                return matches(s, kind, *wanted[slot]);
            });
            if (found != readable.end()) {
                slots[slot] = *found;
                readable.erase(found);
            } else {
                slots[slot] = {kind, wanted[slot]->chip, {}, wanted[slot]->label, {}, {}};
            }
        }
    }
    return all;
}

std::vector<std::string> describeSlots(const SlotAssignment& slots) {
    std::vector<std::string> lines;
    for (SlotKind kind : kSlotKinds) {
        const std::vector<Sensor>& ofKind = slots.of(kind);
        for (size_t i = 0; i < ofKind.size(); ++i) {
            const Sensor& s = ofKind[i];
            const std::string slot = std::string(slotName(kind)) + std::to_string(i + 1) + " <- ";
            if (s.read) {
                const bool named = !s.label.empty() && s.label != s.where;
                lines.push_back(slot + s.chip + (named ? " " + s.label : "") + " (" + s.where +
                                ")");
            } else if (!s.label.empty()) {
                lines.push_back(slot + QCoreApplication::translate("Readings", "%1 : introuvable")
                                           .arg(QString::fromStdString(choiceText(s)))
                                           .toStdString());
            }
        }
    }
    return lines;
}

std::vector<std::string> listSensors(const std::vector<Sensor>& sensors,
                                     const SlotAssignment& slots) {
    // Three columns as wide as their widest entry: chip, sensor, value.
    std::vector<std::array<std::string, 3>> rows;
    std::array<size_t, 3> widths{};
    for (const Sensor& s : sensors) {
        const std::string name =
            s.label.empty() || s.label == s.where
                ? s.where
                : QCoreApplication::translate("Readings", "%1 « %2 »")
                      .arg(QString::fromStdString(s.where), QString::fromStdString(s.label))
                      .toStdString();
        rows.push_back({s.chip, name, valueText(s.kind, s.read ? s.read() : std::nullopt)});
        for (size_t column = 0; column < widths.size(); ++column) {
            widths[column] = std::max(widths[column], displayWidth(rows.back()[column]));
        }
    }
    std::vector<std::string> lines;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string line;
        for (size_t column = 0; column < widths.size(); ++column) {
            line += rows[i][column] +
                    std::string(widths[column] - displayWidth(rows[i][column]) + 2, ' ');
        }
        lines.push_back(line + "-> " + slotOf(sensors[i], slots));
    }
    return lines;
}

MbmData readSensors(const SlotAssignment& slots) {
    MbmData data;
    data.Temp.fill(kMbmNoSensor);
    data.Volt.fill(kMbmNoSensor);
    data.Fan.fill(kMbmNoSensor);
    for (SlotKind kind : kSlotKinds) {
        const std::vector<Sensor>& ofKind = slots.of(kind);
        for (size_t i = 0; i < ofKind.size(); ++i) {
            const std::optional<double> value =
                ofKind[i].read ? ofKind[i].read() : std::optional<double>();
            if (!value) {
                continue;
            }
            if (kind == SlotKind::Volt) {
                data.Volt[i] = *value;
            } else {
                (kind == SlotKind::Temp ? data.Temp : data.Fan)[i] =
                    static_cast<qint32>(std::lround(*value));
            }
        }
    }
    return data;
}

std::optional<CpuTimes> parseCpuTimes(std::string_view procStat) {
    // "cpu  user nice system idle iowait irq softirq steal guest guest_nice"; guest time is
    // already counted in user, so only the first eight fields make up the total.
    if (!procStat.starts_with("cpu ")) {
        return std::nullopt;
    }
    std::string_view rest = procStat.substr(4, procStat.find('\n') - 4);
    CpuTimes times;
    for (int field = 0; field < 8; ++field) {
        rest = trimmed(rest);
        quint64 value = 0;
        const std::from_chars_result parsed =
            std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (parsed.ec != std::errc()) {
            // Old kernels stop after idle (field 3) or iowait; what is there is enough.
            if (field < 4) {
                return std::nullopt;
            }
            break;
        }
        rest.remove_prefix(parsed.ptr - rest.data());
        times.total += value;
        if (field != 3 && field != 4) { // idle and iowait
            times.busy += value;
        }
    }
    return times;
}

std::optional<CpuTimes> readCpuTimes(const fs::path& procStat) {
    const std::optional<std::string> text = readText(procStat);
    return text ? parseCpuTimes(*text) : std::nullopt;
}

double loadPercent(const CpuTimes& before, const CpuTimes& after) {
    if (after.total <= before.total || after.busy < before.busy) {
        return 0.0;
    }
    const double busy = static_cast<double>(after.busy - before.busy);
    const double total = static_cast<double>(after.total - before.total);
    // To a tenth of a percent, as a load reads on a panel: the variable shows every digit given.
    return std::min(100.0, std::round(1000.0 * busy / total) / 10.0);
}

qint32 cpuFrequencyMhz(const fs::path& scalingCurFreq, const fs::path& cpuinfo) {
    if (const std::optional<qint64> kHz = readNumber<qint64>(scalingCurFreq)) {
        return static_cast<qint32>(std::lround(static_cast<double>(*kHz) / 1000.0));
    }
    const std::optional<std::string> text = readText(cpuinfo);
    if (!text) {
        return 0;
    }
    std::string_view rest = *text;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const size_t colon = line.find(':');
        if (!line.starts_with("cpu MHz") || colon == std::string_view::npos) {
            continue;
        }
        const std::string_view value = trimmed(line.substr(colon + 1));
        double mhz = 0;
        if (std::from_chars(value.data(), value.data() + value.size(), mhz).ec == std::errc()) {
            return static_cast<qint32>(std::lround(mhz));
        }
        return 0;
    }
    return 0;
}
