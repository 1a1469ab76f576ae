// An audio file of any bytes: the ID3v1 tag at its end and the first MPEG frame header. Each
// input is read as it is (short ones included) and behind 1024 bytes of padding, so that a
// short input still reaches the tag.
#include "FuzzSupport.h"
#include "sources/winamp.h"

namespace {

void readTag(const QString& path, const QByteArray& bytes) {
    TagFields fields;
    const qint32 genre = ReadID3Tag(path, fields);
    const bool tagged = bytes.size() > 1024 && bytes.right(128).startsWith("TAG");
    if (!tagged) {
        FUZZ_CHECK(genre == -1);
        FUZZ_CHECK(std::all_of(fields.begin(), fields.end(), [](auto& f) { return f.isEmpty(); }));
        return;
    }
    FUZZ_CHECK(genre == quint8(bytes.back()));
    FUZZ_CHECK(fields[4] == GenreList().value(genre));
    const int widths[] = {30, 30, 30, 4, 30, 30};
    for (int i = 0; i < 6; ++i) {
        FUZZ_CHECK(fields[i].size() <= widths[i] && (i == 4 || !fields[i].contains('\0')));
    }
}

void readStream(const QString& path) {
    static const QList<int> rates = {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000};
    const AudioStreamInfo info = readAudioStreamInfo(path);
    FUZZ_CHECK((info.sampleRate == 0 && info.bitrate == 0) ||
               (rates.contains(info.sampleRate) && info.bitrate >= 8 && info.bitrate <= 448));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Both files stay open, each input written over the one before.
    static fuzz::KeptFile raw(QStringLiteral("raw.mp3"));
    static fuzz::KeptFile behind(QStringLiteral("padded.mp3"));
    static const QByteArray padding(1024, '\0');
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QByteArray padded = padding + bytes;
    raw.write(bytes);
    behind.write(padded);
    readTag(raw.path, bytes);
    readTag(behind.path, padded);
    readStream(raw.path);
    return 0;
}
