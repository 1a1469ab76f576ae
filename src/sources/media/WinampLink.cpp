#include "sources/media/WinampLink.h"

#include <QSaveFile>

bool writeWinampPlaylist(const QString& file, const QList<PlaylistEntry>& entries) {
    QString text = QStringLiteral("#EXTM3U\r\n");
    for (const PlaylistEntry& e : entries) {
        text += QStringLiteral("#EXTINF:%1,%2\r\n%3\r\n").arg(e.seconds).arg(e.title, e.path);
    }
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) >= 0 && out.commit();
}
