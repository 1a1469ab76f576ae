#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace {

// Only plain blanks count: a no-break space is part of a value, as in the Windows functions.
// Views, so that reading a line allocates only the name and the value it keeps.
QStringView blankTrimmed(QStringView text) {
    const QChar* begin = text.begin();
    const QChar* end = text.end();
    auto blank = [](QChar c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (begin < end && blank(*begin)) {
        ++begin;
    }
    while (end > begin && blank(end[-1])) {
        --end;
    }
    return QStringView(begin, end);
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
    // The line ends are found by Qt's search rather than a character at a time.
    const qsizetype size = text.size();
    auto find = [&](char16_t c, qsizetype from) {
        const qsizetype at = QStringView(text).indexOf(QChar(c), from);
        return at < 0 ? size : at;
    };
    qsizetype lf = find('\n', 0);
    qsizetype cr = find('\r', 0);
    for (qsizetype start = 0; start < size;) {
        if (lf < start) {
            lf = find('\n', start);
        }
        if (cr < start) {
            cr = find('\r', start);
        }
        const qsizetype end = std::min(lf, cr);
        LineEnd lineEnd = LineEnd::None;
        qsizetype next = end;
        if (end < size && cr == end && lf == end + 1 && lf < size) {
            lineEnd = LineEnd::CrLf;
            next += 2;
        } else if (end < size) {
            lineEnd = cr == end ? LineEnd::Cr : LineEnd::Lf;
            next += 1;
        }
        ini.lines.append(
            parseLine(QString::fromRawData(text.constData() + start, end - start), lineEnd));
        start = next;
    }
    ini.indexHeaders();
    return ini;
}

void IniFile::indexHeaders() {
    headers.clear();
    headers.reserve(std::count_if(lines.cbegin(), lines.cend(),
                                  [](const Line& line) { return line.isHeader; }));
    const QList<Line>& all = lines; // read only: no detach check per line
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].isHeader) {
            headers.append(i);
        }
    }
}

IniFile::Line IniFile::parseLine(QString text, LineEnd end) {
    Line line;
    line.text = std::move(text);
    line.end = end;
    const QStringView trimmed = blankTrimmed(line.text);
    const qsizetype close = trimmed.startsWith('[') ? trimmed.indexOf(']') : -1;
    // A '[' line without its ']' is no header: Windows reads it, and the keys below it, as
    // part of the section above.
    if (close > 0) {
        line.isHeader = true;
        line.name = untilNul(blankTrimmed(trimmed.sliced(1, close - 1)));
        return line;
    }
    if (trimmed.startsWith(';')) {
        return line;
    }
    const qsizetype eq = trimmed.indexOf('=');
    if (eq < 0) {
        return line;
    }
    line.isKey = true;
    line.name = untilNul(blankTrimmed(trimmed.first(eq)));
    line.value = stripQuotes(untilNul(blankTrimmed(trimmed.sliced(eq + 1))));
    return line;
}

int IniFile::findSection(QStringView section) const {
    const QStringView asked = askedName(section);
    for (const int i : headers) {
        if (sameName(lines[i].name, asked)) {
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

QStringList IniFile::keys(const QString& section) const {
    QStringList names;
    const int header = findSection(section);
    if (header < 0) {
        return names;
    }
    for (int i = header + 1; i < lines.size() && !lines[i].isHeader; ++i) {
        const QStringView name = lines[i].name;
        if (lines[i].isKey && std::none_of(names.cbegin(), names.cend(), [&](const QString& seen) {
                return sameName(seen, name);
            })) {
            names.append(name.toString());
        }
    }
    return names;
}

std::optional<QStringView> IniFile::view(Section section, QStringView key) const {
    if (section.header < 0) {
        return std::nullopt;
    }
    const QStringView asked = askedName(key);
    for (int i = section.header + 1; i < lines.size() && !lines[i].isHeader; ++i) {
        if (lines[i].isKey && sameName(lines[i].name, asked)) {
            return lines[i].value;
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
        }
        lines.append(parseLine('[' + section + ']'));
        lines.append(parseLine(key + '=' + value));
        return;
    }
    const QStringView asked = askedName(key);
    int lastKey = header;
    for (int i = header + 1; i < lines.size() && !lines[i].isHeader; ++i) {
        if (!lines[i].isKey) {
            continue;
        }
        if (sameName(lines[i].name, asked)) {
            Line& line = lines[i];
            line = parseLine(line.text.left(line.text.indexOf('=')) + '=' + value, line.end);
            return;
        }
        lastKey = i;
    }
    lines.insert(lastKey + 1, parseLine(key + '=' + value));
}

void IniFile::removeSection(const QString& section) {
    for (int header = findSection(section); header >= 0; header = findSection(section)) {
        int end = header + 1;
        while (end < lines.size() && !lines[end].isHeader) {
            ++end;
        }
        lines.remove(header, end - header);
        indexHeaders();
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
        switch (line.end) {
        case LineEnd::None:
            text += lineEnd;
            break;
        case LineEnd::Lf:
            text += u'\n';
            break;
        case LineEnd::Cr:
            text += u'\r';
            break;
        case LineEnd::CrLf:
            text += u"\r\n";
            break;
        }
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
