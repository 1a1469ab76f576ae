#include "platform/WinampLink.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

// How far into the audio data the first frame is looked for.
constexpr qint64 kScanBytes = 64 * 1024;

struct FrameHeader {
    int version; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;   // 1, 2 or 3
    int sampleRate;
    int bitrate;
    int length; // bytes, header included
};

int bitrateOf(int version, int layer, int index) {
    static constexpr int kTables[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG-1 I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG-1 II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG-1 III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG-2 I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG-2 II, III
    };
    const int table = version == 3 ? layer - 1 : (layer == 1 ? 3 : 4);
    return kTables[table][index];
}

std::optional<FrameHeader> parseHeader(const uchar* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) {
        return std::nullopt;
    }
    const int version = (b[1] >> 3) & 3;
    const int layerBits = (b[1] >> 1) & 3;
    const int bitrateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 3;
    // Free-format frames (bitrate 0) carry no length to confirm them with.
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3) {
        return std::nullopt;
    }
    static constexpr int kRates[3] = {44100, 48000, 32000};
    const int sampleRate = kRates[rateIndex] / (version == 3 ? 1 : version == 2 ? 2 : 4);
    const int layer = 4 - layerBits;
    const int bitrate = bitrateOf(version, layer, bitrateIndex);
    const int padding = (b[2] >> 1) & 1;
    int length = 0;
    if (layer == 1) {
        length = (12 * bitrate * 1000 / sampleRate + padding) * 4;
    } else {
        const int factor = layer == 3 && version != 3 ? 72 : 144;
        length = factor * bitrate * 1000 / sampleRate + padding;
    }
    return FrameHeader{version, layer, sampleRate, bitrate, length};
}

// Bytes taken by an ID3v2 tag at the start of the file (its size is written 7 bits a byte).
qint64 id3v2Size(const QByteArray& head) {
    if (head.size() < 10 || !head.startsWith("ID3")) {
        return 0;
    }
    const auto* b = reinterpret_cast<const uchar*>(head.constData());
    const qint64 size =
        (qint64(b[6] & 0x7F) << 21) | ((b[7] & 0x7F) << 14) | ((b[8] & 0x7F) << 7) | (b[9] & 0x7F);
    const bool footer = (b[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

} // namespace

AudioStreamInfo readAudioStreamInfo(const QString& path) {
    QFile file(path);
    // A pipe named in the playlist would hold up the refresh, or take the player's bytes.
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) ||
        !file.seek(id3v2Size(file.read(10)))) {
        return {};
    }
    const QByteArray data = file.read(kScanBytes);
    const auto* b = reinterpret_cast<const uchar*>(data.constData());
    for (qsizetype i = 0; i + 4 <= data.size(); ++i) {
        const std::optional<FrameHeader> h = parseHeader(b + i);
        if (!h) {
            continue;
        }
        // A lone 0xFFE pattern in other data is common; the frame after it must agree.
        const qsizetype next = i + h->length;
        if (next + 4 <= data.size()) {
            const std::optional<FrameHeader> n = parseHeader(b + next);
            if (!n || n->version != h->version || n->layer != h->layer ||
                n->sampleRate != h->sampleRate) {
                continue;
            }
        }
        return {h->sampleRate, h->bitrate};
    }
    return {};
}

bool writeWinampPlaylist(const QString& file, const QList<PlaylistEntry>& entries) {
    QString text = QStringLiteral("#EXTM3U\r\n");
    for (const PlaylistEntry& e : entries) {
        text += QStringLiteral("#EXTINF:%1,%2\r\n%3\r\n").arg(e.seconds).arg(e.title, e.path);
    }
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) >= 0 && out.commit();
}
