#include "sources/divers.h"

#include "model/IsDigit.h"
#include "platform/AnsiText.h"
#include "platform/FolderEntries.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// The client's own names, written the Windows way: the backslash is its directory separator.
constexpr QLatin1StringView kStateFile("Work0\\state.sah");
constexpr QLatin1StringView kTodoFolder("Todo\\");
constexpr QLatin1StringView kDoneFolder("Done\\");
// The client's work-unit pattern, scmd_work_unit.*, is a plain prefix.
constexpr char kWorkUnitPrefix[] = "scmd_work_unit.";
constexpr int kProgressLine = 4;
constexpr int kKeyLength = 5;

template <typename Number> qint16 toInt16(Number value) {
    return static_cast<qint16>(std::clamp<Number>(value, std::numeric_limits<qint16>::min(),
                                                  std::numeric_limits<qint16>::max()));
}

// Made in one allocation: a refresh asks for three of them.
QString setiPath(const QByteArray& rep_seti, QLatin1StringView relative) {
    QString path(rep_seti.size() + relative.size(), Qt::Uninitialized);
    QChar* to = path.data();
    ansi::toUnicode(rep_seti, to);
    for (const char c : relative) {
        *to++ = QLatin1Char(c == '\\' ? '/' : c);
    }
    return path;
}

// The file up to the end of line `index` (all of it when it has fewer lines), read in blocks.
QByteArray linesUpTo(const RegularFile& file, int index) {
    constexpr qint64 kBlock = 4096;
    QByteArray text;
    for (qsizetype ends = 0; ends <= index;) {
        const QByteArray block = file.read(text.size(), kBlock);
        ends += block.count('\n');
        text += block;
        if (block.size() < kBlock) {
            break;
        }
    }
    return text;
}

// Line `index` of the state file's `text`. The file is read as one text up to its first CR (its
// lines end with LF alone), so a CR ends the text wherever it stands.
std::optional<QByteArrayView> stateLine(QByteArrayView view, int index) {
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype end = view.indexOf('\n', start);
        if (end < 0 || view.sliced(start, end - start).contains('\r')) {
            return std::nullopt;
        }
        start = end + 1;
    }
    const QByteArrayView rest = view.sliced(start);
    const auto end =
        std::find_if(rest.begin(), rest.end(), [](char c) { return c == '\r' || c == '\n'; });
    return rest.first(end - rest.begin());
}

// The leading decimal number of text ("." as its point whatever the locale, an exponent taken;
// 0 when there is none) times 100, rounded down. It is worked out in the digits themselves, the
// point moved two places: 0.29 gives 29, where the binary product 0.29 * 100 falls just short,
// and 9.9999999999999998 gives 999, where the nearest double is 10. The parts are views of the
// text: this runs on every refresh.
qint16 percentOf(QByteArrayView text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        return text.sliced(start, i - start);
    };
    while (i < n && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
    }
    const QByteArrayView whole = digits();
    QByteArrayView fraction;
    if (i < n && text[i] == '.') {
        ++i;
        fraction = digits();
    }
    if (whole.isEmpty() && fraction.isEmpty()) {
        return 0;
    }
    // Beyond these, the percent is out of range whatever the digits.
    constexpr qint64 kFar = 100'000;
    qint64 point = whole.size() + 2; // where the point falls among the digits once moved
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        const bool down = j < n && text[j] == '-';
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        i = j;
        qint64 exponent = 0;
        for (const char c : digits()) {
            exponent = std::min(exponent * 10 + (c - '0'), kFar);
        }
        point += down ? -exponent : exponent;
    }
    // The digits before the point make the whole percent; any other than 0 after it takes a
    // negative one a step further down.
    qint64 percent = 0;
    bool below = false;
    const qsizetype count = whole.size() + fraction.size();
    for (qsizetype k = 0; k < count; ++k) {
        const char c = k < whole.size() ? whole[k] : fraction[k - whole.size()];
        if (k < point) {
            percent = std::min(percent * 10 + (c - '0'), kFar);
        } else if (c != '0') {
            below = true;
        }
    }
    for (qint64 k = count; k < point && percent != 0 && percent < kFar; ++k) {
        percent *= 10;
    }
    return toInt16(negative ? -percent - (below ? 1 : 0) : percent);
}

qint16 countWorkUnits(const QByteArray& rep_seti, QLatin1StringView folder) {
    // Everything but folders counts, as with the client's attribute mask.
    return toInt16(countNonFolderEntries(setiPath(rep_seti, folder), kWorkUnitPrefix));
}

} // namespace

qint16 SetiProgress(const QByteArray& rep_seti) {
    // The file names follow the setting as they are: an empty setting reads the working directory.
    // Only a regular file is opened: a pipe of that name would hold up the refresh.
    const RegularFile file(setiPath(rep_seti, kStateFile));
    if (!file.isOpen()) {
        return 0;
    }
    const QByteArray text = linesUpTo(file, kProgressLine);
    const std::optional<QByteArrayView> line = stateLine(text, kProgressLine);
    return line ? percentOf(line->sliced(std::min<qsizetype>(line->size(), kKeyLength))) : 0;
}

qint16 SetiCacheCount(const QByteArray& rep_seti) {
    return countWorkUnits(rep_seti, kTodoFolder);
}

qint16 SetiDoneCount(const QByteArray& rep_seti) {
    return countWorkUnits(rep_seti, kDoneFolder);
}
