#pragma once

#include <QByteArray>
#include <QString>
#include <QStringBuilder>

// The panel and the settings files speak Windows-1252 ("ANSI"); Qt speaks UTF-16.
namespace ansi {

// A character that Windows-1252 lacks becomes '?'; the no-break spaces that some locales use
// as digit group separators (U+00A0, U+202F) become 0xA0.
QByteArray fromUnicode(QStringView text);
QString toUnicode(const QByteArray& bytes);
// Decodes `bytes` at `out`, which has room for one character per byte, and moves `out` past them.
void toUnicode(const QByteArray& bytes, QChar*& out);

// Bytes as text within a QStringBuilder expression, decoded straight into the result.
struct AsUnicode {
    const QByteArray& bytes;
};

enum class FileEncoding { Utf8, Windows1252 };

struct DecodedText {
    QString text;
    FileEncoding encoding = FileEncoding::Utf8;
    bool byteOrderMark = false;
};

// Files are read as UTF-8 when they are valid UTF-8, as Windows-1252 otherwise.
DecodedText decodeFile(const QByteArray& bytes);
QByteArray encodeFile(const QString& text, FileEncoding encoding, bool byteOrderMark);

} // namespace ansi

template <> struct QConcatenable<ansi::AsUnicode> {
    using type = ansi::AsUnicode;
    using ConvertTo = QString;
    enum { ExactSize = true };
    static qsizetype size(const type& text) { return text.bytes.size(); }
    static void appendTo(const type& text, QChar*& out) { ansi::toUnicode(text.bytes, out); }
};
