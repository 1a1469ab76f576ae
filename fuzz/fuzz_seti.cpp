// A SETI@home folder whose state file holds any bytes. Lines of the input after the fifth that
// start with "wu=" name files put in Todo (the counts must find those of the work-unit pattern).
#include "FuzzSupport.h"
#include "sources/divers.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// The names the input asks for, as plain file names.
QSet<QString> workUnits(const QByteArray& state) {
    QSet<QString> names;
    const QList<QByteArray> lines = state.split('\n');
    for (qsizetype i = 5; i < lines.size() && names.size() < 8; ++i) {
        if (!lines[i].startsWith("wu=")) {
            continue;
        }
        QString name = QString::fromLatin1(lines[i].mid(3));
        name.removeIf([](QChar c) {
            return !(c.isLetterOrNumber() || c == '.' || c == '_' || c == '*') || c.unicode() > 127;
        });
        name.truncate(64);
        // Todo/scmd_work_unit.dir is a folder, which must not count.
        if (!name.isEmpty() && name != "." && name != ".." && name != "scmd_work_unit.dir") {
            names.insert(name);
        }
    }
    return names;
}

// For a fifth line that holds a plain decimal after its key, the percent read digit by digit;
// -1 when the line is missing or holds anything else.
int plainPercent(const QByteArray& state) {
    static const QRegularExpression number(QStringLiteral("^([0-9]{1,4})(?:\\.([0-9]*))?$"));
    const QList<QByteArray> lines = state.split('\n');
    if (lines.size() < 5 || std::any_of(lines.begin(), lines.begin() + 4,
                                        [](const QByteArray& l) { return l.contains('\r'); })) {
        return -1;
    }
    const QByteArray line = lines[4].left(lines[4].indexOf('\r'));
    const QRegularExpressionMatch m = number.match(QString::fromLatin1(line.mid(5)));
    if (!m.hasMatch()) {
        return -1;
    }
    return std::min(32767, m.captured(1).toInt() * 100 +
                               m.captured(2).leftJustified(2, '0').left(2).toInt());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& root = fuzz::scratchDir();
    static const bool folders = QDir(root).mkpath("Work0") && QDir(root).mkpath("Done/x") &&
                                QDir(root).mkpath("Todo/scmd_work_unit.dir");
    FUZZ_CHECK(folders);
    const QByteArray state = fuzz::bytesOf(data, size);
    fuzz::writeFile(QStringLiteral("Work0/state.sah"), state);
    const QSet<QString> names = workUnits(state);
    for (const QString& name : names) {
        fuzz::writeFile("Todo/" + name, {});
    }

    static const QByteArray rep = QFile::encodeName(root) + '/';
    const qint16 percent = SetiProgress(rep);
    const int expected = plainPercent(state);
    FUZZ_CHECK(expected < 0 || percent == expected);
    const auto pattern = [](const QString& n) { return n.startsWith("scmd_work_unit."); };
    FUZZ_CHECK(SetiCacheCount(rep) == std::count_if(names.begin(), names.end(), pattern));
    FUZZ_CHECK(SetiDoneCount(rep) == 0);

    for (const QString& name : names) {
        ::unlink(QFile::encodeName(root + "/Todo/" + name).constData());
    }
    return 0;
}
