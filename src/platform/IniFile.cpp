#include "IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Only plain blanks count: a no-break space is part of a value, as in the Windows functions.
// Views, so that reading a line allocates only the name and the value it keeps.
QStringView blankTrimmed(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// The Windows calls see every name and value as a C string.
QStringView untilNul(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.first(nul);
}

// A name as a caller asks for it.
QStringView askedName(QStringView name) {
    return blankTrimmed(untilNul(name));
}

// Case folding maps each UTF-16 unit to one unit, so names of different lengths never match.
bool sameName(QStringView a, QStringView b) {
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringView stripQuotes(QStringView value) {
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    // Read in one go: a buffered QFile would also fill a 16 KiB buffer first.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return {};
    }
    return parse(file.readAll());
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    ini.existed = true;
    ansi::DecodedText decoded = ansi::decodeFile(bytes);
    ini.encoding = decoded.encoding;
    ini.byteOrderMark = decoded.byteOrderMark;
    ini.source = std::move(decoded.text);
    const QString& text = ini.source;
    // Lines a write adds end like the file's own; Windows itself would write CR LF.
    if (text.contains(QStringLiteral("\r\n"))) {
        ini.lineEnd = QStringLiteral("\r\n");
    } else if (text.contains('\r')) {
        ini.lineEnd = QStringLiteral("\r");
    }
    // At most one line per line-end character, plus a last line without one.
    ini.lines.reserve(text.count('\n') + text.count('\r') + 1);
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        qsizetype next = end;
        if (next < text.size()) {
            next += QStringView(text).sliced(end).startsWith(u"\r\n") ? 2 : 1;
        }
        // The line ends share static text instead of a copy each.
        QString lineEnd;
        if (next - end == 2) {
            lineEnd = QStringLiteral("\r\n");
        } else if (next > end) {
            lineEnd = text[end] == '\r' ? QStringLiteral("\r") : QStringLiteral("\n");
        }
        ini.lines.append({QString::fromRawData(text.constData() + start, end - start), lineEnd});
        start = next;
    }
    int section = -1;
    ini.entries.reserve(ini.lines.size());
    for (int i = 0; i < ini.lines.size(); ++i) {
        const Entry e = parseLine(ini.lines[i].text, section, i);
        if (e.isHeader) {
            section = i;
        }
        ini.entries.append(e);
    }
    ini.indexHeaders();
    return ini;
}

void IniFile::indexHeaders() {
    headers.clear();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].isHeader) {
            headers.append(i);
        }
    }
}

IniFile::Entry IniFile::parseLine(QStringView line, int currentSection, int index) {
    Entry e;
    e.section = currentSection;
    const QStringView trimmed = blankTrimmed(line);
    const qsizetype close = trimmed.startsWith('[') ? trimmed.indexOf(']') : -1;
    // A '[' line without its ']' is no header: Windows reads it, and the keys below it, as
    // part of the section above.
    if (close > 0) {
        e.isHeader = true;
        e.section = index;
        e.name = untilNul(blankTrimmed(trimmed.sliced(1, close - 1)));
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
    e.name = untilNul(blankTrimmed(trimmed.first(eq)));
    e.value = stripQuotes(untilNul(blankTrimmed(trimmed.sliced(eq + 1))));
    return e;
}

int IniFile::findSection(QStringView section) const {
    const QStringView asked = askedName(section);
    for (const int i : headers) {
        if (sameName(entries[i].name, asked)) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    if (const std::optional<QStringView> found = view(this->section(section), key)) {
        return found->toString();
    }
    return std::nullopt;
}

std::optional<QStringView> IniFile::view(Section section, QStringView key) const {
    if (section.header < 0) {
        return std::nullopt;
    }
    const QStringView asked = askedName(key);
    for (int i = section.header + 1; i < entries.size() && !entries[i].isHeader; ++i) {
        if (entries[i].isKey && sameName(entries[i].name, asked)) {
            return entries[i].value;
        }
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    writeValue(section, key, value);
    // A write may add a section, move the lines below it, or even turn a key into a header.
    indexHeaders();
}

void IniFile::writeValue(const QString& section, const QString& key, const QString& value) {
    const int header = findSection(section);
    if (header < 0) {
        if (!lines.isEmpty() && !blankTrimmed(lines.back().text).isEmpty()) {
            lines.append(Line{});
            entries.append(Entry{});
        }
        const int at = lines.size();
        lines.append({'[' + section + ']', {}});
        entries.append(parseLine(lines.back().text, -1, at));
        lines.append({key + '=' + value, {}});
        entries.append(parseLine(lines.back().text, at, at + 1));
        return;
    }
    const QStringView asked = askedName(key);
    int lastKey = header;
    for (int i = header + 1; i < entries.size() && !entries[i].isHeader; ++i) {
        if (!entries[i].isKey) {
            continue;
        }
        if (sameName(entries[i].name, asked)) {
            QString& line = lines[i].text;
            line = line.left(line.indexOf('=')) + '=' + value;
            entries[i] = parseLine(line, header, i);
            return;
        }
        lastKey = i;
    }
    const int at = lastKey + 1;
    lines.insert(at, {key + '=' + value, {}});
    entries.insert(at, parseLine(lines[at].text, header, at));
    // Entries after the insertion moved down by one line.
    for (int i = at + 1; i < entries.size(); ++i) {
        if (entries[i].section >= at) {
            entries[i].section += 1;
        }
    }
}

bool IniFile::save(const QString& path) const {
    const QByteArray bytes = toBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    file.write(bytes);
    return file.commit();
}

QByteArray IniFile::toBytes() const {
    qsizetype size = 0;
    for (const Line& line : lines) {
        size += line.text.size() + 2; // a line end is at most two characters
    }
    QString text;
    text.reserve(size);
    for (const Line& line : lines) {
        text += line.text;
        text += line.end.isEmpty() ? lineEnd : line.end;
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
    return bytes;
}

std::optional<qint16> parseInt16(QStringView text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}
