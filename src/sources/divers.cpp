#include "sources/divers.h"

#include "model/IsDigit.h"
#include "platform/AnsiText.h"
#include "platform/FolderEntries.h"
#include "platform/RegularFile.h"

#include <QLocale>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
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

// The leading decimal number of text ("." as its point whatever the locale; 0 when there is
// none) times 100, rounded down. The point is moved two places in the digits themselves so
// that 0.29 gives 29: the binary product 0.29 * 100 falls just short of 29. The parts are views
// of the text and the number is put together on the stack: this runs on every refresh.
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
    QByteArrayView sign;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        sign = text.sliced(i++, 1);
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
    QByteArrayView exponent;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            const qsizetype start = i;
            i = j;
            digits();
            exponent = text.sliced(start, i - start);
        }
    }
    QVarLengthArray<char16_t, 64> hundredfold;
    const auto append = [&](QByteArrayView part) {
        for (const char c : part) {
            hundredfold.append(char16_t(c)); // all ASCII: signs, digits, 'e'
        }
    };
    append(sign);
    append(whole);
    append(fraction.first(std::min<qsizetype>(fraction.size(), 2)));
    for (qsizetype k = fraction.size(); k < 2; ++k) {
        hundredfold.append(u'0');
    }
    if (fraction.size() > 2) {
        hundredfold.append(u'.');
        append(fraction.sliced(2));
    }
    append(exponent);
    // Read in the C locale, a number too large for a double is an infinity, which the clamp
    // brings back into range.
    const double value = QLocale::c().toDouble(QStringView(hundredfold.data(), hundredfold.size()));
    return toInt16(std::floor(value));
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
