#include "AnsiText.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>

namespace ansi {
namespace {

// Code points of bytes 0x80..0x9F; the five bytes Windows-1252 leaves undefined map to the
// C1 control of the same value so that they survive a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte's code point, looked up rather than tested: every file and line read goes through.
constexpr std::array<char16_t, 256> kCodePoints = [] {
    std::array<char16_t, 256> points{};
    for (int b = 0; b < 256; ++b) {
        points[b] = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
    }
    return points;
}();

char toByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    if (c == 0x202F) {
        return static_cast<char>(0xA0);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

// Whether every unit is below 0x80, eight bytes or four UTF-16 units at a time: nearly all the
// text read and written is, and then Qt's Latin-1 conversions, many units at a time, give the same
// result as the tables.
bool isAscii(QByteArrayView bytes) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    for (quint64 word; end - at >= 8; at += 8) {
        std::memcpy(&word, at, 8);
        if (word & 0x8080808080808080) {
            return false;
        }
    }
    return std::all_of(at, end, [](char b) { return static_cast<unsigned char>(b) < 0x80; });
}

bool isAscii(QStringView text) {
    const QChar* at = text.begin();
    const QChar* const end = text.end();
    for (quint64 word; end - at >= 4; at += 4) {
        std::memcpy(&word, at, 8);
        if (word & 0xFF80FF80FF80FF80) {
            return false;
        }
    }
    return std::all_of(at, end, [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QByteArray fromUnicode(QStringView text) {
    if (isAscii(text)) {
        return text.toLatin1();
    }
    // Written in place: a profile's every line goes through here.
    QByteArray out(text.size(), Qt::Uninitialized);
    char* to = out.data();
    for (const QChar *from = text.begin(), *end = text.end(); from < end; ++from) {
        // A character beyond U+FFFF takes two UTF-16 units but is still one '?'.
        if (from->isHighSurrogate() && from + 1 < end && from[1].isLowSurrogate()) {
            ++from;
        }
        *to++ = toByte(from->unicode());
    }
    out.truncate(to - out.constData());
    return out;
}

QString toUnicode(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    toUnicode(bytes, to);
    return out;
}

void toUnicode(const QByteArray& bytes, QChar*& out) {
    if (isAscii(bytes)) {
        QConcatenable<QLatin1StringView>::appendTo(QLatin1StringView(bytes), out);
        return;
    }
    for (const char b : bytes) {
        *out++ = QChar(kCodePoints[static_cast<unsigned char>(b)]);
    }
}

DecodedText decodeFile(const QByteArray& bytes) {
    DecodedText result;
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF")) {
        body = body.sliced(3);
        result.byteOrderMark = true;
    }
    // A second mark is text, as it was written: Qt would drop it too, and the file written back
    // with one mark would read differently, its first line then a section.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    result.text = utf8.decode(body);
    if (utf8.hasError()) {
        result.text = toUnicode(bytes);
        result.encoding = FileEncoding::Windows1252;
        result.byteOrderMark = false;
    }
    return result;
}

QByteArray encodeFile(const QString& text, FileEncoding encoding, bool byteOrderMark) {
    if (encoding == FileEncoding::Windows1252) {
        return fromUnicode(text);
    }
    return byteOrderMark ? "\xEF\xBB\xBF" + text.toUtf8() : text.toUtf8();
}

} // namespace ansi
