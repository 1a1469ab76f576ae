// relayeur-icons: writes the program's icon for an icon theme, at build time:
// DIR/hicolor/scalable/apps/relayeur.svg and DIR/hicolor/NxN/apps/relayeur.png for each size.
#include "shell/AppIcon.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage : relayeur-icons DOSSIER TAILLE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString svgDir = out.filePath(QStringLiteral("hicolor/scalable/apps"));
    QFile svg(svgDir + QStringLiteral("/relayeur.svg"));
    bool written = QDir().mkpath(svgDir) && svg.open(QIODevice::WriteOnly) &&
                   svg.write(appIconSvg()) >= 0 && svg.flush();
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString dir = out.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        written = written && size > 0 && QDir().mkpath(dir) &&
                  drawAppIcon(size).save(dir + QStringLiteral("/relayeur.png"));
    }
    if (!written) {
        std::fprintf(stderr, "relayeur-icons : impossible d'écrire les icônes dans %s\n", argv[1]);
        return 1;
    }
    return 0;
}
