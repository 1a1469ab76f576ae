#include "IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Only plain blanks count: a no-break space is part of a value, as in the Windows functions.
QString blankTrimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

QString stripQuotes(const QString& value) {
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile IniFile::load(const QString& path) {
    IniFile ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ini;
    }
    ini.existed = true;
    const ansi::DecodedText decoded = ansi::decodeFile(file.readAll());
    ini.encoding = decoded.encoding;
    ini.byteOrderMark = decoded.byteOrderMark;
    QString text = decoded.text;
    if (text.contains(QStringLiteral("\r\n"))) {
        ini.lineEnd = QStringLiteral("\r\n");
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ini.lines = text.split('\n');
    // A final line end leaves an empty last element that is no line of the file.
    if (!ini.lines.isEmpty() && ini.lines.back().isEmpty()) {
        ini.lines.removeLast();
    }
    int section = -1;
    for (int i = 0; i < ini.lines.size(); ++i) {
        Entry e = parseLine(ini.lines[i], section, i);
        if (e.isHeader) {
            section = i;
        }
        ini.entries.append(e);
    }
    return ini;
}

IniFile::Entry IniFile::parseLine(const QString& line, int currentSection, int index) {
    Entry e;
    e.section = currentSection;
    const QString trimmed = blankTrimmed(line);
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        e.isHeader = true;
        e.section = index;
        e.name = blankTrimmed(close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1));
        return e;
    }
    if (trimmed.startsWith(';')) {
        return e;
    }
    const qsizetype eq = trimmed.indexOf('=');
    if (eq < 0) {
        return e;
    }
    e.isKey = true;
    e.name = blankTrimmed(trimmed.left(eq));
    e.value = stripQuotes(blankTrimmed(trimmed.mid(eq + 1)));
    return e;
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].isHeader &&
            entries[i].name.compare(blankTrimmed(section), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) {
        return std::nullopt;
    }
    for (int i = header + 1; i < entries.size() && !entries[i].isHeader; ++i) {
        if (entries[i].isKey &&
            entries[i].name.compare(blankTrimmed(key), Qt::CaseInsensitive) == 0) {
            return entries[i].value;
        }
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const int header = findSection(section);
    if (header < 0) {
        if (!lines.isEmpty() && !blankTrimmed(lines.back()).isEmpty()) {
            lines.append(QString());
            entries.append(Entry{});
        }
        const int at = lines.size();
        lines.append('[' + section + ']');
        entries.append(parseLine(lines.back(), -1, at));
        lines.append(key + '=' + value);
        entries.append(parseLine(lines.back(), at, at + 1));
        return;
    }
    int lastKey = header;
    for (int i = header + 1; i < entries.size() && !entries[i].isHeader; ++i) {
        if (!entries[i].isKey) {
            continue;
        }
        if (entries[i].name.compare(blankTrimmed(key), Qt::CaseInsensitive) == 0) {
            const QString& line = lines[i];
            lines[i] = line.left(line.indexOf('=')) + '=' + value;
            entries[i] = parseLine(lines[i], header, i);
            return;
        }
        lastKey = i;
    }
    const int at = lastKey + 1;
    lines.insert(at, key + '=' + value);
    entries.insert(at, parseLine(lines[at], header, at));
    // Entries after the insertion moved down by one line.
    for (int i = at + 1; i < entries.size(); ++i) {
        if (entries[i].section >= at) {
            entries[i].section += 1;
        }
    }
}

bool IniFile::save(const QString& path) const {
    QString text;
    for (const QString& line : lines) {
        text += line + lineEnd;
    }
    QByteArray bytes = ansi::encodeFile(text, encoding, byteOrderMark);
    // The file was Windows-1252 only because of bytes that were not UTF-8; once a write has
    // replaced them, what is left may read as UTF-8, and "Ã©" would come back as "é".
    if (encoding == ansi::FileEncoding::Windows1252) {
        const ansi::DecodedText reread = ansi::decodeFile(bytes);
        if (reread.encoding == ansi::FileEncoding::Utf8 && reread.text != text) {
            bytes = ansi::encodeFile(text, ansi::FileEncoding::Utf8, false);
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(bytes);
    return file.commit();
}

std::optional<qint16> parseInt16(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}
