// The modules drawn into files as they change, for a person watching a program that runs on
// emulated devices: a picture of the module as it looks, and its lines as text. The drawing
// thread keeps to plain memory, zlib and POSIX files: it may still run while a preloading
// program tears Qt down.

#include "DeviceFiles.h"
#include "drivers/Hd44780Font.h"
#include "platform/AnsiText.h"
#include "render/CharacterMapping.h"

#include <QFile>
#include <QtEndian>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>
#include <zlib.h>

namespace emulated {

namespace {

using namespace std::chrono_literals;

// Dots of 3 pixels a pitch of 4, cells 5x8 dots apart by one dot, lines by two.
constexpr int kDot = 3;
constexpr int kPitch = 4;
constexpr int kCellWidth = 6 * kPitch;
constexpr int kCellHeight = 10 * kPitch;
constexpr int kMargin = 4 * kPitch;
constexpr auto kLeastInterval = 100ms;

using Rgb = std::array<quint8, 3>;

// Dark dots on a green panel; without the backlight, the same much dimmer.
Rgb shade(Rgb colour, bool lit) {
    for (quint8& part : colour) {
        part = lit ? part : static_cast<quint8>(part * 2 / 5);
    }
    return colour;
}

// An RGB picture, row after row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<quint8> pixels;

    void fill(int x, int y, int size, Rgb colour) {
        for (int dy = 0; dy < size; ++dy) {
            for (int dx = 0; dx < size; ++dx) {
                std::copy(colour.begin(), colour.end(),
                          pixels.begin() + 3 * ((y + dy) * width + x + dx));
            }
        }
    }
};

QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

void appendChunk(QByteArray& png, const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type, 4) + data;
    const auto crc = static_cast<quint32>(
        crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), typed.size()));
    png += bigEndian(static_cast<quint32>(data.size()));
    png += typed;
    png += bigEndian(crc);
}

// 8-bit RGB, no filter on any row.
QByteArray png(const Picture& picture) {
    QByteArray header;
    header += bigEndian(static_cast<quint32>(picture.width));
    header += bigEndian(static_cast<quint32>(picture.height));
    header += QByteArray("\x08\x02\x00\x00\x00", 5);
    QByteArray raw;
    for (int y = 0; y < picture.height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(picture.pixels.data()) + 3 * y * picture.width,
                   3 * picture.width);
    }
    uLongf size = compressBound(raw.size());
    QByteArray packed(static_cast<qsizetype>(size), '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(raw.constData()), raw.size());
    packed.truncate(static_cast<qsizetype>(size));
    QByteArray file("\x89PNG\r\n\x1A\n", 8);
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    return file;
}

int controllerOf(const Module& module, int line) {
    return line >= 2 && module.controllers() > 1 ? 1 : 0;
}

// A user-defined character as text: the accented letter the program draws with it, else the
// big-digit part or the block it is.
QString cellText(const GlyphRows& rows) {
    if (const std::optional<quint8> letter = letterOfGlyph(rows)) {
        return ansi::toUnicode(QByteArray(1, static_cast<char>(*letter)));
    }
    return terminalGlyph(rows);
}

// What a module shows at one moment: the dots of each cell and its text.
struct Sight {
    int columns = 0;
    int lines = 0;
    bool lit = false;
    std::vector<GlyphRows> cells; // line after line
    QByteArray text;
};

// What a screen shows: each cell's dots and the text of its lines.
Sight look(const Screen& screen) {
    Sight sight{screen.columns, screen.lines, screen.lit, {}, {}};
    QString text;
    for (int line = 0; line < sight.lines; ++line) {
        const QByteArray codes = screen.codes(line);
        for (int column = 0; column < sight.columns; ++column) {
            const auto code = static_cast<quint8>(codes[column]);
            const std::optional<int> slot = Hd44780::glyphSlot(code);
            const bool on = screen.displayOn(line);
            const GlyphRows rows = !on    ? GlyphRows{}
                                   : slot ? screen.glyph(line, *slot)
                                          : romGlyph(code);
            sight.cells.push_back(rows);
            text += slot || !on ? cellText(rows) : terminalGlyph(code);
        }
        text += u'\n';
    }
    text += sight.lit ? QStringLiteral("rétroéclairage allumé\n")
                      : QStringLiteral("rétroéclairage éteint\n");
    sight.text = text.toUtf8();
    return sight;
}

Sight look(const Module& module) {
    return look(
        Screen{module.columns(), module.lines(), module.backlight(),
               [&](int line) { return module.line(line); },
               [&](int line, int slot) { return module.glyph(controllerOf(module, line), slot); },
               [&](int line) { return module.displayOn(line); }});
}

QByteArray draw(const Sight& sight) {
    Picture picture;
    picture.width = 2 * kMargin + sight.columns * kCellWidth - kPitch;
    picture.height = 2 * kMargin + sight.lines * kCellHeight - 2 * kPitch;
    picture.pixels.resize(3 * picture.width * picture.height);
    const Rgb panel = shade({0x8D, 0xB8, 0x3A}, sight.lit);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = panel[i % 3];
    }
    const Rgb on = shade({0x1D, 0x2B, 0x10}, sight.lit);
    const Rgb off = shade({0x84, 0xAC, 0x35}, sight.lit);
    for (int line = 0; line < sight.lines; ++line) {
        for (int column = 0; column < sight.columns; ++column) {
            const GlyphRows& rows = sight.cells[line * sight.columns + column];
            for (int row = 0; row < 8; ++row) {
                for (int dot = 0; dot < 5; ++dot) {
                    const bool set = rows[row] & (0x10 >> dot);
                    picture.fill(kMargin + column * kCellWidth + dot * kPitch,
                                 kMargin + line * kCellHeight + row * kPitch, kDot, set ? on : off);
                }
            }
        }
    }
    return png(picture);
}

// Written aside, then renamed: a reader never meets half a file.
// False when the file could not be written, with errno set.
bool save(const QString& path, const QByteArray& contents) {
    const QByteArray name = QFile::encodeName(path);
    const QByteArray aside = name + ".part";
    FILE* file = std::fopen(aside.constData(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(contents.constData(), 1, contents.size(), file) ==
                         static_cast<size_t>(contents.size());
    return std::fclose(file) == 0 && written &&
           std::rename(aside.constData(), name.constData()) == 0;
}

} // namespace

bool writePicture(const QString& path, const Screen& screen) {
    return save(path, draw(look(screen)));
}

namespace {

// The thread starts at the first change, not when the folder is set: a preloaded library is
// set up before the program's main(), and Qt takes the first thread that uses it for the main
// one.
class ViewWriter {
public:
    ~ViewWriter() { stop(); }

    void setFolder(const QString& to) {
        stop();
        const std::lock_guard lock(mutex);
        folder = to;
        drawn.clear();
    }

    void changed() {
        if (!running) {
            const std::lock_guard lock(mutex);
            if (folder.isEmpty() || running) {
                return;
            }
            stopping = false;
            running = true;
            // Born with every signal blocked, the thread leaves the program's signals to the
            // program's own threads: a handler that ends the program must not run here.
            sigset_t all;
            sigset_t kept;
            sigfillset(&all);
            pthread_sigmask(SIG_SETMASK, &all, &kept);
            worker = std::thread([this] { run(); });
            pthread_sigmask(SIG_SETMASK, &kept, nullptr);
        }
        {
            const std::lock_guard lock(mutex);
            pending = true;
        }
        wake.notify_one();
    }

private:
    void stop() {
        if (!running) {
            return;
        }
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        wake.notify_one();
        worker.join();
        running = false;
    }

    void run() {
        std::unique_lock lock(mutex);
        while (!stopping) {
            wake.wait(lock, [this] { return stopping || pending; });
            pending = false;
            lock.unlock();
            drawChanged();
            lock.lock();
            wake.wait_for(lock, kLeastInterval, [this] { return stopping; });
        }
    }

    // Each module is looked at with the bus held, so that no write shows halfway done.
    void drawChanged() {
        std::error_code ignored;
        std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), ignored);
        std::map<QString, Sight> changed;
        {
            detail::Registry& r = detail::registry();
            const std::lock_guard lock(r.mutex);
            for (const auto& [name, module] : r.modules) {
                const std::pair<const Module*, quint64> state{module.get(), module->changes()};
                if (drawn[name] != state) {
                    drawn[name] = state;
                    changed[name] = look(*module);
                }
            }
        }
        for (const auto& [name, sight] : changed) {
            const QString picture = folder + u'/' + name + QStringLiteral(".png");
            const bool saved = save(picture, draw(sight)) &&
                               save(folder + u'/' + name + QStringLiteral(".txt"), sight.text);
            // Told once: a daemon that gives up root (LCDd's User=) may no longer write here.
            if (!saved && !std::exchange(warned, true)) {
                std::fprintf(stderr, "emulated-devices: %s : écriture impossible (%s)\n",
                             QFile::encodeName(picture).constData(), std::strerror(errno));
            }
        }
    }

    QString folder;
    std::atomic<bool> running{false};
    std::mutex mutex;
    std::condition_variable wake;
    bool pending = false;
    bool stopping = false;
    std::thread worker;
    std::map<QString, std::pair<const Module*, quint64>> drawn; // the worker's own
    bool warned = false;
};

ViewWriter& writer() {
    static ViewWriter shared;
    return shared;
}

} // namespace

void setViewFolder(const QString& folder) {
    writer().setFolder(folder);
}

void detail::viewChanged() {
    writer().changed();
}

} // namespace emulated
