#include "sources/winamp.h"

#include "model/TwoDigits.h"
#include "platform/AnsiText.h"
#include "platform/RegionalFormat.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qint64 kShortestTaggedFile = 1025;
constexpr int kTagSize = 128;

bool absent(const WinampState& w) {
    return w.link == nullptr || w.WinampWindow.isEmpty();
}

qint32 ask(const WinampState& w, qint32 command, qint32 argument) {
    return w.link->send(w.WinampWindow, command, argument);
}

// The remainder keeps the sign of the seconds, as the minutes do.
QByteArray minutesSeconds(qint64 seconds) {
    const qint64 s = seconds % 60;
    return TwoDigits((seconds - s) / 60) + ':' + TwoDigits(s);
}

// Milliseconds to seconds, halves to the even neighbour (59.5 and 60.5 both give 60).
qint64 roundedSeconds(qint32 ms) {
    return qint64(std::nearbyint(ms / 1000.0));
}

// "mm:ss" back to seconds, as the panel shows it.
qint16 secondsOf(const QByteArray& minutesSeconds) {
    const qsizetype colon = minutesSeconds.indexOf(':');
    return qint16(minutesSeconds.left(colon).toInt() * 60 + minutesSeconds.mid(colon + 1).toInt());
}

// Spaces around the field go first, then every NUL: spaces before the NUL padding stay.
QByteArray tagText(const QByteArray& tag, qsizetype offset, qsizetype size) {
    QByteArrayView field = QByteArrayView(tag).sliced(offset, size);
    while (!field.isEmpty() && field.front() == ' ') {
        field = field.sliced(1);
    }
    while (!field.isEmpty() && field.back() == ' ') {
        field.chop(1);
    }
    QByteArray text = field.toByteArray();
    text.removeIf([](char c) { return c == '\0'; });
    return text;
}

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

bool WinampFind(WinampState& w) {
    w.WinampWindow = w.link != nullptr ? w.link->find() : QString();
    return !w.WinampWindow.isEmpty();
}

QString WinampCurrentFile(const WinampState& w, const QByteArray& rep_winamp) {
    if (absent(w)) {
        return {};
    }
    const qint32 p = ask(w, IPC_WRITEPLAYLIST, 0);
    if (p < 0) {
        return {};
    }
    const qint64 n = 2 * (qint64(p) + 1) + 1;
    // Only regular files are opened here and below: a pipe would hold up the refresh.
    const RegularFile file(ansi::toUnicode(rep_winamp) + kWinampPlaylistFile);
    if (!file.isOpen()) {
        return {};
    }
    const QString text = ansi::decodeFile(file.readAll()).text;
    qint64 line = 1;
    qsizetype start = 0;
    while (line < n && start < text.size()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        start = lf < 0 ? text.size() : lf + 1;
        ++line;
    }
    if (line < n || start >= text.size()) {
        return {};
    }
    const qsizetype lf = text.indexOf(u'\n', start);
    QString path = text.mid(start, lf < 0 ? -1 : lf - start);
    if (path.endsWith(u'\r')) {
        path.chop(1);
    }
    return path;
}

const QList<QByteArray>& GenreList() {
    static const QList<QByteArray> list =
        QByteArray(
            "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|"
            "Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|"
            "Soundtrack|Euro-Techno|Ambient|Trip Hop|Vocal|Jazz+Funk|Fusion|Trance|Classical|"
            "Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|Alt. Rock|Bass|Soul|Punk|Space|"
            "Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
            "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|"
            "Gangsta Rap|Top 40|Christian Rap|Pop/Punk|Jungle|Native American|Cabaret|New Wave|"
            "Phychedelic|Rave|Showtunes|Trailer|Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|"
            "Musical|Rock & Roll|Hard Rock|Folk|Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|"
            "Latin|Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
            "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|"
            "Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|"
            "Porn Groove|Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|power Ballad|"
            "Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|"
            "Drum & Bass|Club-House|Hardcore|Terror|Indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
            "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|Comteporary Christian|"
            "Christian Rock|Merengue|Salsa|Trash Metal|Anime|JPop|Synth Pop")
            .split('|');
    return list;
}

qint32 ReadID3Tag(const QString& path, TagFields& fields) {
    fields.fill(QByteArray());
    const RegularFile file(path);
    if (!file.isOpen() || file.size() < kShortestTaggedFile) {
        return -1;
    }
    const QByteArray tag = file.read(file.size() - kTagSize, kTagSize);
    if (tag.size() != kTagSize || !tag.startsWith("TAG")) {
        return -1;
    }
    const quint8 genre = quint8(tag[127]);
    fields = {tagText(tag, 3, 30),
              tagText(tag, 33, 30),
              tagText(tag, 63, 30),
              tagText(tag, 93, 4),
              genre < GenreList().size() ? GenreList()[genre] : QByteArray(),
              tagText(tag, 97, 30)};
    return genre;
}

AudioStreamInfo readAudioStreamInfo(const QString& path) {
    // A pipe named in the playlist would hold up the refresh, or take the player's bytes.
    const RegularFile file(path);
    if (!file.isOpen()) {
        return {};
    }
    const qint64 start = id3v2Size(file.read(0, 10));
    // A short file is read at its size rather than into a 64 KiB block cut down afterwards.
    const QByteArray data =
        file.read(start, std::clamp(file.size() - start, qint64(0), kScanBytes));
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

QByteArray WinampListPosition(const WinampState& w) {
    return absent(w) ? "0" : QByteArray::number(qint64(ask(w, IPC_GETLISTPOS, 0)) + 1);
}

QByteArray WinampListLength(const WinampState& w) {
    return absent(w) ? "0" : QByteArray::number(ask(w, IPC_GETLISTLENGTH, 0));
}

QByteArray WinampSampleRate(const WinampState& w) {
    return absent(w) ? "0" : QByteArray::number(ask(w, IPC_GETINFO, 0));
}

QByteArray WinampBitrate(const WinampState& w) {
    return absent(w) ? "0" : QByteArray::number(ask(w, IPC_GETINFO, 1));
}

QByteArray WinampTotalTime(const WinampState& w) {
    return absent(w) ? "00:00" : minutesSeconds(ask(w, IPC_GETOUTPUTTIME, 1));
}

QByteArray WinampElapsedTime(const WinampState& w) {
    return absent(w) ? "00:00" : minutesSeconds(roundedSeconds(ask(w, IPC_GETOUTPUTTIME, 0)));
}

QByteArray WinampRemainingTime(const WinampState& w) {
    if (absent(w)) {
        return "00:00";
    }
    // From the two texts, so that it agrees with what the panel shows beside it.
    const qint16 elapsed = secondsOf(WinampElapsedTime(w));
    const qint16 total = secondsOf(WinampTotalTime(w));
    return minutesSeconds(qint16(total - elapsed));
}

QByteArray WinampTotalSeconds(const WinampState& w) {
    return absent(w) ? "2" : QByteArray::number(ask(w, IPC_GETOUTPUTTIME, 1));
}

QByteArray WinampElapsedSeconds(const WinampState& w) {
    return absent(w) ? "1" : QByteArray::number(roundedSeconds(ask(w, IPC_GETOUTPUTTIME, 0)));
}

QByteArray WinampRemainingSeconds(const WinampState& w, const QLocale& locale) {
    if (absent(w)) {
        return "1";
    }
    const double total = ask(w, IPC_GETOUTPUTTIME, 1);
    return regional::generalNumber(total - ask(w, IPC_GETOUTPUTTIME, 0) / 1000.0, locale);
}
