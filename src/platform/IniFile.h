#pragma once

#include "AnsiText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// An INI file read and written with the rules of the Windows private-profile functions:
// a CR, an LF or a CR LF ends a line; section and key names match without regard to case,
// blanks around names and values are dropped, one pair of enclosing quotes is removed, lines
// starting with ';' are comments, a NUL ends a name or a value. A '[' line without its ']'
// opens no section. The first section and the first key of a given name win.
class IniFile {
public:
    // A missing or unreadable file reads as an empty one.
    static IniFile load(const QString& path);
    // The bytes of an existing file, read as load reads them.
    static IniFile parse(const QByteArray& bytes);

    bool exists() const { return existed; }
    // The file's text as it was read, decoded; no write changes it.
    QStringView text() const { return source; }
    std::optional<QString> value(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const { return findSection(section) >= 0; }
    // The keys of a section in file order, each name once, as it is first written (a later key
    // of the same name, whatever its case, is never read). Only the first section of that name.
    QStringList keys(const QString& section) const;

    // A section looked up once, for reading several of its keys.
    struct Section {
        int header = -1; // index of its header line, -1 when the file has no such section
    };
    Section section(QStringView name) const { return {findSection(name)}; }
    // A key's value as a view into this file's text, valid until the file is changed or goes.
    std::optional<QStringView> view(Section section, QStringView key) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds
    // the section at the end of the file; every other line is kept as it was, line end included.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Takes out every section of that name, its header and the lines under it up to the next
    // header; every other line is kept as it was.
    void removeSection(const QString& section);

    // Written to a temporary file that then replaces the old one, so that the file is never
    // left half written. Keeps the encoding the file was read in, unless its Windows-1252
    // bytes would read back as other UTF-8 text: then it is written as UTF-8. A new file is UTF-8.
    bool save(const QString& path) const;
    // The bytes save writes.
    QByteArray toBytes() const;

private:
    enum class LineEnd : quint8 { None, Lf, Cr, CrLf }; // None: a last line without one
    // A line read from the file points into `source`; one that a write changed holds its own text.
    // Reading a file thus allocates nothing per line. Names and values are views into the text
    // of their line, which every copy of the file shares.
    struct Line {
        QString text;
        QStringView name;  // section name for a header, key for a key line
        QStringView value; // as a key's value reads, quotes removed
        LineEnd end = LineEnd::None;
        bool isHeader = false;
        bool isKey = false;
    };
    static Line parseLine(QString text, LineEnd end = LineEnd::None);
    void indexHeaders();
    int findSection(QStringView section) const;
    void writeValue(const QString& section, const QString& key, const QString& value);

    QString source; // the decoded text of the file, never changed once read
    QList<Line> lines;
    QList<int> headers; // indexes of the section headers, in file order, for the look-ups
    ansi::FileEncoding encoding = ansi::FileEncoding::Utf8;
    bool byteOrderMark = false;
    QString lineEnd = QStringLiteral("\n"); // for the lines a write adds
    bool existed = false;
};

// Decimal integer text in the 16-bit signed range, with an optional sign.
std::optional<qint16> parseInt16(QStringView text);
inline std::optional<qint16> parseInt16(const QString& text) {
    return parseInt16(QStringView(text));
}
