// The INI reader over any file: the keys the program asks for and the names the file itself
// spells, then one write that must leave every other key reading as it did. The file is read and
// written in memory, through the same parsing and the same bytes as a file on disk.
#include "FuzzSupport.h"
#include "platform/AnsiText.h"
#include "platform/USEINI.h"

#include <QList>
#include <utility>

namespace {

using Name = std::pair<QString, QString>; // section, key

// Section and key names as the lines spell them, blanks and case kept.
QList<Name> namesIn(const QByteArray& bytes) {
    QList<Name> names = {{"parametres", "C"}, {"param", "nb_pages"}, {"page_1", "ligne0"}};
    QString section;
    for (const QString& line : ansi::decodeFile(bytes).text.split('\n')) {
        if (names.size() >= 40) {
            break;
        }
        if (line.contains('[')) {
            section = line.section('[', 1).section(']', 0, 0);
        } else if (line.contains('=')) {
            names.append({section, line.section('=', 0, 0)});
        }
    }
    return names;
}

bool plain(const QString& name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == '_');
    });
}

// A name as the program compares it: up to a NUL, without the blanks around it (and then without
// regard to case).
QString asked(const QString& name) {
    return name.section(QChar(0), 0, 0).trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const IniFile before = IniFile::parse(bytes);
    FUZZ_CHECK(before.exists());

    const QList<Name> names = namesIn(bytes);
    QStringList values;
    for (const auto& [section, key] : names) {
        const QString value = GetIni(before, section, key, QStringLiteral("Err"));
        FUZZ_CHECK(value.size() <= 127);
        parseInt16(value);
        values.append(value);
        // Names match whatever their case and the blanks around them.
        if (plain(section.trimmed()) && plain(key.trimmed())) {
            FUZZ_CHECK(GetIni(before, " " + section.toUpper() + "\t", "\t" + key.toLower() + " ",
                              QStringLiteral("Err")) == value);
        }
    }

    // The first plain names of the file, or a section it may lack.
    Name target = {QStringLiteral("relayeur"), QStringLiteral("k")};
    for (const auto& [section, key] : names.mid(3)) {
        if (plain(section.trimmed()) && plain(key.trimmed())) {
            target = {section.trimmed(), key.trimmed()};
            break;
        }
    }
    const QString written = QStringLiteral("v%1").arg(size);
    const QString old = GetIni(before, target.first, target.second, QStringLiteral("Err"));
    IniFile changed = before;
    changed.setValue(target.first, target.second, written);
    const IniFile after = IniFile::parse(changed.toBytes());
    FUZZ_CHECK(GetIni(after, target.first, target.second, QStringLiteral("Err")) == written);
    // The copy that was written shares the text of the one read, which must not change.
    FUZZ_CHECK(GetIni(before, target.first, target.second, QStringLiteral("Err")) == old);
    const Name targetAsked = {asked(target.first), asked(target.second)};
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto& [section, key] = names[i];
        if (!(asked(section).compare(targetAsked.first, Qt::CaseInsensitive) == 0 &&
              asked(key).compare(targetAsked.second, Qt::CaseInsensitive) == 0)) {
            FUZZ_CHECK(GetIni(after, section, key, QStringLiteral("Err")) == values[i]);
        }
    }
    return 0;
}
