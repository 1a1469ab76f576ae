#pragma once

#include <QByteArray>

// Frames of an MPEG audio stream: the 4-byte header, then silence up to the frame's length.
inline QByteArray mpegFrames(const char* header, int frameLength, int count) {
    return (QByteArray(header, 4) + QByteArray(frameLength - 4, '\0')).repeated(count);
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz: 417 bytes a frame without padding.
inline const QByteArray kMpeg1 = mpegFrames("\xFF\xFB\x90\x00", 417, 4);

// An ID3v1 tag, its text fields padded with NULs.
inline QByteArray id3v1(const QByteArray& title, quint8 genre,
                        const QByteArray& artist = "Artiste") {
    auto field = [](const QByteArray& text, int n) { return text.leftJustified(n, '\0', true); };
    return "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "2001" +
           field("Commentaire", 30) + char(genre);
}
