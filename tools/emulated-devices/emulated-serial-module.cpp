// Plays a character module on a pseudo-terminal, for running Relayeur without one: a Matrix
// Orbital-compatible module (--mtxorb) or the kernel's /dev/lcd (--charlcd). Prints the
// terminal's path, then what the module shows each time it changes.

#include "CharLcdModule.h"
#include "EmulatedDevices.h"
#include "MatrixOrbitalModule.h"
#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <variant>

namespace {

void usage() {
    std::fprintf(stderr, "usage : emulated-serial-module --mtxorb|--charlcd [--taille 20x4] "
                         "[--vue FICHIER.png]\n");
}

// What the module shows, framed, with its backlight and contrast.
QByteArray view(const ModuleScreen& screen, bool backlight, int contrast) {
    QString shown = QStringLiteral("+%1+\n").arg(QString(screen.columns(), QLatin1Char('-')));
    for (int i = 0; i < screen.lines(); ++i) {
        shown += QStringLiteral("|%1|\n").arg(screen.printable(i));
    }
    shown += QStringLiteral("+%1+ rétroéclairage %2, contraste %3, curseur %4\n")
                 .arg(QString(screen.columns(), QLatin1Char('-')),
                      backlight ? QStringLiteral("allumé") : QStringLiteral("éteint"))
                 .arg(contrast)
                 .arg(screen.cursorShown() ? QStringLiteral("visible") : QStringLiteral("caché"));
    return shown.toUtf8();
}

// The module as it looks, in a picture file a person can watch.
void savePicture(const QString& path, const ModuleScreen& screen, bool backlight) {
    const bool written =
        emulated::writePicture(path, {screen.columns(), screen.lines(), backlight,
                                      [&](int line) { return screen.line(line); },
                                      [&](int, int slot) { return screen.glyph(slot); },
                                      [&](int) { return screen.displayOn(); }});
    if (!written) {
        std::fprintf(stderr, "emulated-serial-module : %s non écrit\n", qPrintable(path));
    }
}

} // namespace

int main(int argc, char** argv) {
    bool mtxorb = false;
    bool charlcd = false;
    int columns = 20;
    int lines = 4;
    QString picturePath;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const auto size =
            QRegularExpression(QStringLiteral("^(\\d+)x(\\d)$"))
                .match(i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString());
        if (arg == QLatin1String("--mtxorb")) {
            mtxorb = true;
        } else if (arg == QLatin1String("--charlcd")) {
            charlcd = true;
        } else if (arg == QLatin1String("--taille") && size.hasMatch()) {
            columns = size.captured(1).toInt();
            lines = size.captured(2).toInt();
            ++i;
        } else if (arg == QLatin1String("--vue") && i + 1 < argc) {
            picturePath = QString::fromLocal8Bit(argv[++i]);
        } else {
            usage();
            return 2;
        }
    }
    if (mtxorb == charlcd) {
        usage();
        return 2;
    }

    FileDescriptor master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios raw{};
    if (master.get() < 0 || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0 ||
        ::tcgetattr(master.get(), &raw) != 0) {
        std::fprintf(stderr, "emulated-serial-module : pas de pseudo-terminal (%s)\n",
                     std::strerror(errno));
        return 1;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(master.get(), TCSANOW, &raw);
    const QByteArray slave = ::ptsname(master.get());
    // Held open here, the terminal lasts while programs open and close it.
    const FileDescriptor keep(::open(slave.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    std::printf("%s\n", slave.constData());
    std::fflush(stdout);

    std::variant<MatrixOrbitalModule, CharLcdModule> module =
        mtxorb ? std::variant<MatrixOrbitalModule, CharLcdModule>(
                     std::in_place_type<MatrixOrbitalModule>, columns, lines)
               : std::variant<MatrixOrbitalModule, CharLcdModule>(std::in_place_type<CharLcdModule>,
                                                                  columns, lines);
    QByteArray last;
    for (;;) {
        const QByteArray shown = std::visit(
            [](const auto& m) { return view(m.screen(), m.backlight(), m.contrast()); }, module);
        if (shown != last) {
            std::fwrite(shown.constData(), 1, size_t(shown.size()), stdout);
            std::fflush(stdout);
            last = shown;
            if (!picturePath.isEmpty()) {
                std::visit(
                    [&](const auto& m) { savePicture(picturePath, m.screen(), m.backlight()); },
                    module);
            }
        }
        char buffer[4096];
        const ssize_t got = ::read(master.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            std::fprintf(stderr, "emulated-serial-module : terminal fermé (%s)\n",
                         std::strerror(errno));
            return 1;
        }
        const QByteArray bytes(buffer, got);
        if (auto* orbital = std::get_if<MatrixOrbitalModule>(&module)) {
            const QByteArray answer = orbital->feed(bytes);
            if (!answer.isEmpty() && ::write(master.get(), answer.constData(), answer.size()) < 0) {
                std::fprintf(stderr, "emulated-serial-module : réponse perdue (%s)\n",
                             std::strerror(errno));
            }
        } else {
            std::get<CharLcdModule>(module).feed(bytes);
        }
    }
}
