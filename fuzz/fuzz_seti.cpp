// A SETI@home folder whose state file holds any bytes. Lines of the input after the fifth that
// start with "wu=" name files put in Todo (the counts must find those of the work-unit pattern).
#include "FuzzSupport.h"
#include "model/IsDigit.h"
#include "sources/divers.h"

namespace {

QList<QByteArrayView> linesOf(QByteArrayView text) {
    QList<QByteArrayView> lines;
    lines.reserve(text.count('\n') + 1);
    for (qsizetype start = 0;;) {
        const qsizetype end = text.indexOf('\n', start);
        lines.append(text.sliced(start, (end < 0 ? text.size() : end) - start));
        if (end < 0) {
            return lines;
        }
        start = end + 1;
    }
}

// The names the input asks for, as plain file names, each once. A handful: a list looks them up
// faster than a hash.
QList<QString> workUnits(const QList<QByteArrayView>& lines) {
    QList<QString> names;
    for (qsizetype i = 5; i < lines.size() && names.size() < 8; ++i) {
        if (!lines[i].startsWith("wu=")) {
            continue;
        }
        QString name = QString::fromLatin1(lines[i].sliced(3));
        name.removeIf([](QChar c) {
            return !(c.isLetterOrNumber() || c == '.' || c == '_' || c == '*') || c.unicode() > 127;
        });
        name.truncate(64);
        // Todo/scmd_work_unit.dir is a folder, which must not count.
        if (!name.isEmpty() && name != "." && name != ".." && name != "scmd_work_unit.dir" &&
            !names.contains(name)) {
            names.append(name);
        }
    }
    return names;
}

// For a fifth line that holds a plain decimal after its key (up to a CR, which ends the text),
// the percent read digit by digit; -1 when the line is missing or holds anything else.
int plainPercent(const QList<QByteArrayView>& lines) {
    if (lines.size() < 5 || std::any_of(lines.begin(), lines.begin() + 4,
                                        [](QByteArrayView l) { return l.contains('\r'); })) {
        return -1;
    }
    QByteArrayView line = lines[4];
    if (const qsizetype cr = line.indexOf('\r'); cr >= 0) {
        line.truncate(cr);
    }
    if (line.size() <= 5) {
        return -1;
    }
    const QByteArrayView number = line.sliced(5);
    const qsizetype point = number.indexOf('.');
    const QByteArrayView whole = point < 0 ? number : number.first(point);
    const QByteArrayView fraction = point < 0 ? QByteArrayView() : number.sliced(point + 1);
    if (whole.isEmpty() || whole.size() > 4 || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit)) {
        return -1;
    }
    int percent = whole.toInt() * 100;
    for (qsizetype i = 0; i < 2; ++i) {
        percent += i < fraction.size() ? (fraction[i] - '0') * (i == 0 ? 10 : 1) : 0;
    }
    return std::min(32767, percent);
}

// The names of the files made in Todo for the last input, held without the heap: memory kept
// from one input to the next would have libFuzzer run the input again to look for a leak.
class Present {
public:
    bool contains(const QString& name) const {
        return std::find(names.begin(), names.begin() + count, name) != names.begin() + count;
    }
    const QLatin1StringView* begin() const { return names.begin(); }
    const QLatin1StringView* end() const { return names.begin() + count; }
    void operator=(const QList<QString>& made) {
        count = 0;
        for (const QString& name : made) {
            char* to = chars[count].data();
            std::transform(name.begin(), name.end(), to, [](QChar c) { return char(c.unicode()); });
            names[count++] = QLatin1StringView(to, name.size());
        }
    }

private:
    std::array<std::array<char, 64>, 8> chars; // as workUnits() cuts them
    std::array<QLatin1StringView, 8> names;
    qsizetype count = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& root = fuzz::scratchDir();
    static const bool folders = QDir(root).mkpath("Work0") && QDir(root).mkpath("Done/x") &&
                                QDir(root).mkpath("Todo/scmd_work_unit.dir");
    FUZZ_CHECK(folders);
    static fuzz::KeptFile stateFile(QStringLiteral("Work0/state.sah"));
    const QByteArrayView state(data, qsizetype(size));
    stateFile.write(state);
    const QList<QByteArrayView> lines = linesOf(state);
    const QList<QString> names = workUnits(lines);
    // Todo keeps the files of the last input: only those that differ are made or removed.
    static Present present;
    for (const QLatin1StringView name : present) {
        if (!names.contains(name)) {
            FUZZ_CHECK(::unlink(QFile::encodeName(root + "/Todo/" + name).constData()) == 0);
        }
    }
    for (const QString& name : names) {
        if (!present.contains(name)) {
            fuzz::writeFile("Todo/" + name, {});
        }
    }
    present = names;

    static const QByteArray rep = QFile::encodeName(root) + '/';
    const qint16 percent = SetiProgress(rep);
    const int expected = plainPercent(lines);
    FUZZ_CHECK(expected < 0 || percent == expected);
    const auto pattern = [](const QString& n) { return n.startsWith("scmd_work_unit."); };
    FUZZ_CHECK(SetiCacheCount(rep) == std::count_if(names.begin(), names.end(), pattern));
    FUZZ_CHECK(SetiDoneCount(rep) == 0);
    return 0;
}
