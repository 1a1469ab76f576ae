// The playlist a player writes, of any bytes, with the entry index the player answers: the first
// input byte as a signed index, then the far ends of the 32-bit range.
#include "FuzzSupport.h"
#include "platform/AnsiText.h"
#include "sources/winamp.h"

#include <limits>

namespace {

// Entry p is line 2p + 3, counted in the decoded text; a missing line gives nothing.
QString expectedEntry(const QStringList& lines, qint64 p) {
    const qint64 index = 2 * p + 2;
    if (p < 0 || index >= lines.size()) {
        return {};
    }
    QString line = lines[index];
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The player writes the same playlist for each of the three questions below: it is written
    // once.
    const QByteArray playlist = fuzz::bytesOf(data + 1, size - 1);
    fuzz::writeFile(QStringLiteral("winamp.m3u"), playlist);
    fuzz::TablePlayer link;
    WinampState w{&link, {}};
    FUZZ_CHECK(WinampFind(w));
    static const QByteArray rep = QFile::encodeName(fuzz::scratchDir()) + '/';
    const QStringList lines = ansi::decodeFile(playlist).text.split('\n');
    for (const qint32 p : {qint32(qint8(data[0])), std::numeric_limits<qint32>::max(),
                           std::numeric_limits<qint32>::min()}) {
        link.answer(IPC_WRITEPLAYLIST, 0, p);
        const QString entry = WinampCurrentFile(w, rep);
        FUZZ_CHECK(entry == expectedEntry(lines, p));
    }
    return 0;
}
