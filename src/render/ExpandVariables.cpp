#include "render/ExpandVariables.h"

#include "render/BigTime.h"
#include "render/ReplaceToken.h"

#include <QVarLengthArray>
#include <algorithm>
#include <bitset>
#include <cstring>
#include <optional>

namespace {

constexpr double kMebibyte = 1048576.0;
constexpr char kAnsiDegree = '\xB0';
constexpr char kPanelDegree = '\xDF'; // the degree sign of the panel's character set

// A line being rebuilt, with the places where "%%" stands in it (overlapping ones included):
// every variable begins there, so each of the many tests of the expansion looks only at those
// places instead of searching the whole line again. The places are found afresh after every
// change, since an inserted value may hold "%%" too.
class LineText {
public:
    explicit LineText(QByteArray& text) : text(text) {}

    // The text becomes `raw`, with its degree signs converted when asked, unless `raw` holds no
    // "%%": then the text stays as it is and the answer is false.
    bool rebuildFrom(const QByteArray& raw, bool convertDegrees) {
        mark(raw);
        if (marks.empty()) {
            return false;
        }
        // Copied into the line's own buffer, which the replacements then grow in place.
        text.resize(0);
        text.append(QByteArrayView(raw));
        if (convertDegrees) {
            // Changes no '%': the places still hold, and a converted sign may now follow one.
            text.replace(kAnsiDegree, kPanelDegree);
            if (following.test(quint8(kAnsiDegree))) {
                following.set(quint8(kPanelDegree));
            }
        }
        return true;
    }
    // The byte after the "%%" of the token, then its last byte, rule most tokens and places out
    // without comparing the whole token at each place.
    bool has(QByteArrayView token) const {
        if (token.size() > 2 && !following.test(quint8(token[2]))) {
            return false;
        }
        const QByteArrayView view(text);
        const qsizetype last = token.size() - 1;
        return std::any_of(marks.begin(), marks.end(), [&](qsizetype at) {
            return view.size() - at > last &&
                   (last < 0 || view.data()[at + last] == token.back()) &&
                   view.sliced(at).startsWith(token);
        });
    }
    // The places tell cheaply that most tokens are absent.
    template <typename Value> void replace(QByteArrayView token, Value value) {
        if (has(token) && replaceToken(text, token, value)) {
            mark(text);
        }
    }
    // Lets `change` rewrite the text in place.
    template <typename Change> void rewrite(const Change& change) {
        change(text);
        mark(text);
    }

private:
    // Each '%' is found by memchr(), then the one after it checked.
    void mark(QByteArrayView from) {
        marks.clear();
        following.reset();
        if (from.size() < 2) {
            return;
        }
        const char* const begin = from.data();
        const char* const last = begin + from.size() - 1;
        for (const char* at = begin;
             (at = static_cast<const char*>(std::memchr(at, '%', size_t(last - at)))); ++at) {
            if (at[1] == '%') {
                marks.append(at - begin);
                if (at + 2 <= last) {
                    following.set(quint8(at[2]));
                }
            }
        }
    }

    QByteArray& text;
    QVarLengthArray<qsizetype, 8> marks;
    std::bitset<256> following; // the bytes that come after the places
};

// Replaces every "%%name(argument)" of the line by what `lookup` answers for its argument, asked
// once per argument; an answer of nullopt, or a call without its closing parenthesis, stays as
// typed. A value inserted is not searched again.
template <typename Lookup>
void expandCalls(QByteArray& text, QByteArrayView opening, const Lookup& lookup) {
    QVarLengthArray<std::pair<QByteArray, std::optional<QByteArray>>, 4> asked;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(opening, from)) >= 0;) {
        const qsizetype argumentAt = at + opening.size();
        const qsizetype closing = text.indexOf(')', argumentAt);
        if (closing < 0) {
            return;
        }
        const QByteArray argument = text.sliced(argumentAt, closing - argumentAt);
        auto known = std::find_if(asked.begin(), asked.end(),
                                  [&](const auto& entry) { return entry.first == argument; });
        if (known == asked.end()) {
            asked.append({argument, lookup(QByteArrayView(argument))});
            known = asked.end() - 1;
        }
        if (!known->second) {
            from = argumentAt;
            continue;
        }
        text.replace(at, closing + 1 - at, *known->second);
        from = at + known->second->size();
    }
}

std::optional<QByteArray> mqttCall(const VariableSources& s, QByteArrayView argument) {
    const qsizetype bar = argument.indexOf('|');
    if (bar < 0) {
        return s.mqttValue(argument, {});
    }
    return s.mqttValue(argument.first(bar), argument.sliced(bar + 1));
}

void expandMemory(LineText& line, const MemoryStatus& m, const QLocale& locale) {
    auto mib = [&](qint64 bytes) {
        return [&, bytes] { return regional::number(bytes / kMebibyte, locale); };
    };
    line.replace("%%mem_t", mib(m.totalPhys));
    line.replace("%%mem_u", mib(m.totalPhys - m.availPhys));
    line.replace("%%mem_l", mib(m.availPhys));
    line.replace("%%memp_t", mib(m.totalPageFile));
    line.replace("%%memp_u", mib(m.totalPageFile - m.availPageFile));
    line.replace("%%memp_l", mib(m.availPageFile));
}

void expandSensors(LineText& line, const VariableSources& s) {
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
    if (line.has("%%temp")) {
        // Ten before one, so that %%temp10 is never read as sensor 1 followed by a 0.
        for (int k = 10; k >= 1; --k) {
            line.replace(kTemps[k], sensor(k, SensorKind::Temp));
        }
    }
    if (line.has("%%volt")) {
        for (int k = 1; k <= 7; ++k) {
            line.replace(kVolts[k], sensor(k, SensorKind::Volt));
        }
    }
    if (line.has("%%fan")) {
        for (int k = 1; k <= 7; ++k) {
            line.replace(kFans[k], sensor(k, SensorKind::Fan));
        }
    }
    line.replace("%%frq", sensor(1, SensorKind::Freq));
    line.replace("%%charge", sensor(1, SensorKind::Charge));
}

} // namespace

std::optional<ClockTime> ExpandVariables(const Expansion& e) {
    const VariableSources& s = e.sources;
    auto& lines = e.pages.CurrentLines;
    std::optional<QDateTime> clock; // read for the first line that shows it
    auto now = [&]() -> const QDateTime& {
        if (!clock) {
            clock = s.now();
        }
        return *clock;
    };
    const int panelLines = std::clamp<int>(e.config.L, 0, kLinesPerPage);
    std::optional<QTime> bigClock;
    std::array<QByteArray, kLinesPerPage> bigClockRows;
    // With a character ROM chosen, the character mapping converts the degree signs of every line.
    const bool convertDegrees = e.config.caracteres == CharacterSet::Ansi;
    for (int i = 0; i < panelLines; ++i) {
        LineText line(lines[i].Text);
        if (lines[i].Dynamic == 1 && line.rebuildFrom(e.pages.LineTemplate[i], convertDegrees)) {
            if (e.flags.HLAvailable && s.halfLifeGroup && line.has("%%HL")) {
                line.rewrite(s.halfLifeGroup);
            }
            // One reading serves all the memory figures of a line, so that they add up; a line
            // without them does not pay for one.
            if (line.has("%%mem")) {
                expandMemory(line, s.memoryStatus(), s.locale);
            }
            if (e.flags.MbmPresent) {
                expandSensors(line, s);
            }
            line.replace("%%ipext", [&] { return s.ipAddresses("+"); });
            line.replace("%%date",
                         [&] { return s.dateTimeTexts.shortDate(now().date(), s.locale); });
            line.replace("%%time",
                         [&] { return s.dateTimeTexts.longTime(now().time(), s.locale); });
            if (line.has("%%big_time")) {
                bigClock = now().time();
                line.rewrite([&](QByteArray&) {
                    // A message that stays keeps its line: the clock gives up that row.
                    const auto heldRow = [&](int row) {
                        return row != i && e.pages.held.until[row].has_value();
                    };
                    std::array<QByteArray, kLinesPerPage> shown;
                    for (int row = 0; row < kLinesPerPage; ++row) {
                        if (heldRow(row)) {
                            shown[row] = lines[row].Text;
                        }
                    }
                    BigTime(lines, *bigClock);
                    for (int row = 0; row < kLinesPerPage; ++row) {
                        bigClockRows[row] = lines[row].Text;
                        if (heldRow(row)) {
                            lines[row].Text = shown[row];
                        }
                    }
                });
            }
            // After the big clock the groups see the clock row that now holds this line.
            if (s.setiGroup && line.has("%%seti")) {
                line.rewrite(s.setiGroup);
            }
            if (s.winampGroup && line.has("%%winamp")) {
                line.rewrite(s.winampGroup);
            }
            if (s.namedValue && line.has("%%val(")) {
                line.rewrite([&](QByteArray& text) {
                    expandCalls(text, "%%val(",
                                [&](QByteArrayView name) { return s.namedValue(name); });
                });
            }
            if (s.mqttValue && line.has("%%mqtt(")) {
                line.rewrite([&](QByteArray& text) {
                    expandCalls(text, "%%mqtt(",
                                [&](QByteArrayView argument) { return mqttCall(s, argument); });
                });
            }
        }
        lines[i].Length = static_cast<qint16>(lines[i].Text.size());
    }
    for (int row = 0; bigClock && row < panelLines; ++row) {
        if (lines[row].Text != bigClockRows[row]) {
            bigClock.reset();
        }
    }
    if (!bigClock) {
        return std::nullopt;
    }
    return ClockTime{bigClock->hour(), bigClock->minute(), bigClock->second()};
}
