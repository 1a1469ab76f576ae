#include "Readings.h"

#include "model/IsDigit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

void addSensor(std::vector<HwmonSensor>& slots, HwmonSensor sensor, SlotAssignment& all) {
    if (slots.size() < MbmLayout::kSlots) {
        slots.push_back(std::move(sensor));
    } else {
        ++all.leftOut;
    }
}

void scanChip(const fs::path& chipDir, SlotAssignment& all) {
    const std::string chipDirName = chipDir.filename().native();
    const std::optional<std::string> nameFile = readText(chipDir / "name");
    const std::string chip = nameFile ? std::string(trimmed(*nameFile)) : chipDirName;

    struct Kind {
        std::string_view prefix;
        std::vector<HwmonSensor>& slots;
    };
    const Kind kinds[] = {{"temp", all.temps}, {"in", all.volts}, {"fan", all.fans}};

    for (const fs::directory_entry& entry : sortedEntries(chipDir)) {
        const std::string file = entry.path().filename().native();
        for (const Kind& kind : kinds) {
            const std::optional<std::string> number = inputNumber(file, kind.prefix);
            if (!number) {
                continue;
            }
            if (!readNumber<qint64>(entry.path())) {
                ++all.unreadable;
                break;
            }
            const std::optional<std::string> label =
                readText(chipDir / (std::string(kind.prefix) + *number + "_label"));
            addSensor(kind.slots,
                      {entry.path(), chip, label ? std::string(trimmed(*label)) : std::string(),
                       chipDirName + "/" + file},
                      all);
            break;
        }
    }
}

void describe(std::vector<std::string>& lines, const std::vector<HwmonSensor>& sensors,
              std::string_view slotName) {
    for (size_t i = 0; i < sensors.size(); ++i) {
        const HwmonSensor& s = sensors[i];
        lines.push_back(std::string(slotName) + std::to_string(i + 1) + " <- " + s.chip +
                        (s.label.empty() ? "" : " " + s.label) + " (" + s.where + ")");
    }
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

SlotAssignment scanHwmon(const fs::path& root) {
    SlotAssignment all;
    for (const fs::directory_entry& entry : sortedEntries(root)) {
        std::error_code error;
        if (entry.path().filename().native().starts_with("hwmon") && entry.is_directory(error)) {
            scanChip(entry.path(), all);
        }
    }
    return all;
}

std::vector<std::string> describeSlots(const SlotAssignment& slots) {
    std::vector<std::string> lines;
    describe(lines, slots.temps, "temp");
    describe(lines, slots.volts, "volt");
    describe(lines, slots.fans, "fan");
    return lines;
}

MbmData readSensors(const SlotAssignment& slots) {
    MbmData data;
    data.Temp.fill(kMbmNoSensor);
    data.Volt.fill(kMbmNoSensor);
    data.Fan.fill(kMbmNoSensor);
    for (size_t i = 0; i < slots.temps.size(); ++i) {
        if (const std::optional<qint64> milli = readNumber<qint64>(slots.temps[i].input)) {
            data.Temp[i] = static_cast<qint32>(std::lround(static_cast<double>(*milli) / 1000.0));
        }
    }
    for (size_t i = 0; i < slots.volts.size(); ++i) {
        if (const std::optional<qint64> milli = readNumber<qint64>(slots.volts[i].input)) {
            data.Volt[i] = static_cast<double>(*milli) / 1000.0;
        }
    }
    for (size_t i = 0; i < slots.fans.size(); ++i) {
        if (const std::optional<qint64> rpm = readNumber<qint64>(slots.fans[i].input)) {
            data.Fan[i] = static_cast<qint32>(*rpm);
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
