#include "render/ExpandVariables.h"

#include "platform/RegionalFormat.h"
#include "render/BigTime.h"
#include "render/ReplaceToken.h"

#include <algorithm>

namespace {

constexpr double kMebibyte = 1048576.0;
constexpr char kAnsiDegree = '\xB0';
constexpr char kPanelDegree = '\xDF'; // the degree sign of the panel's character set

void expandMemory(QByteArray& text, const MemoryStatus& m, const QLocale& locale) {
    auto mib = [&](qint64 bytes) {
        return [&, bytes] { return regional::number(bytes / kMebibyte, locale); };
    };
    replaceToken(text, "%%mem_t", mib(m.totalPhys));
    replaceToken(text, "%%mem_u", mib(m.totalPhys - m.availPhys));
    replaceToken(text, "%%mem_l", mib(m.availPhys));
    replaceToken(text, "%%memp_t", mib(m.totalPageFile));
    replaceToken(text, "%%memp_u", mib(m.totalPageFile - m.availPageFile));
    replaceToken(text, "%%memp_l", mib(m.availPageFile));
}

void expandSensors(QByteArray& text, const VariableSources& s) {
    auto sensor = [&](int index, SensorKind kind) {
        return [&, index, kind] {
            return regional::generalNumber(s.mbmValue(static_cast<qint16>(index), kind), s.locale);
        };
    };
    // The tokens of sensors 1 to 10, by their number.
    static constexpr const char* kTemps[] = {"",        "%%temp1", "%%temp2", "%%temp3",
                                             "%%temp4", "%%temp5", "%%temp6", "%%temp7",
                                             "%%temp8", "%%temp9", "%%temp10"};
    static constexpr const char* kVolts[] = {"",        "%%volt1", "%%volt2", "%%volt3",
                                             "%%volt4", "%%volt5", "%%volt6", "%%volt7"};
    static constexpr const char* kFans[] = {"",       "%%fan1", "%%fan2", "%%fan3",
                                            "%%fan4", "%%fan5", "%%fan6", "%%fan7"};
    if (text.contains("%%temp")) {
        // Ten before one, so that %%temp10 is never read as sensor 1 followed by a 0.
        for (int k = 10; k >= 1; --k) {
            replaceToken(text, kTemps[k], sensor(k, SensorKind::Temp));
        }
    }
    if (text.contains("%%volt")) {
        for (int k = 1; k <= 7; ++k) {
            replaceToken(text, kVolts[k], sensor(k, SensorKind::Volt));
        }
    }
    if (text.contains("%%fan")) {
        for (int k = 1; k <= 7; ++k) {
            replaceToken(text, kFans[k], sensor(k, SensorKind::Fan));
        }
    }
    replaceToken(text, "%%frq", sensor(1, SensorKind::Freq));
    replaceToken(text, "%%charge", sensor(1, SensorKind::Charge));
}

} // namespace

void ExpandVariables(const Expansion& e) {
    const VariableSources& s = e.sources;
    auto& lines = e.pages.CurrentLines;
    const int panelLines = std::clamp<int>(e.config.L, 0, kLinesPerPage);
    for (int i = 0; i < panelLines; ++i) {
        if (lines[i].Dynamic == 1 && e.pages.LineTemplate[i].contains("%%")) {
            QByteArray& text = lines[i].Text;
            text = e.pages.LineTemplate[i];
            text.replace(kAnsiDegree, kPanelDegree);
            if (e.flags.HLAvailable && s.halfLifeGroup && text.contains("%%HL")) {
                s.halfLifeGroup(text);
            }
            // One reading serves all the memory figures of a line, so that they add up; a line
            // without them does not pay for one.
            if (text.contains("%%mem")) {
                expandMemory(text, s.memoryStatus(), s.locale);
            }
            if (e.flags.MbmPresent) {
                expandSensors(text, s);
            }
            replaceToken(text, "%%ipext", [&] { return s.ipAddresses("+"); });
            replaceToken(text, "%%date",
                         [&] { return regional::shortDate(s.now().date(), s.locale); });
            replaceToken(text, "%%time",
                         [&] { return regional::longTime(s.now().time(), s.locale); });
            if (text.contains("%%big_time")) {
                BigTime(lines, s.now().time());
            }
            // After the big clock the groups see the clock row that now holds this line.
            if (s.setiGroup && text.contains("%%seti")) {
                s.setiGroup(text);
            }
            if (s.winampGroup && text.contains("%%winamp")) {
                s.winampGroup(text);
            }
        }
        lines[i].Length = static_cast<qint16>(lines[i].Text.size());
    }
}
