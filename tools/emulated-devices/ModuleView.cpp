// The modules drawn into files as they change, for a person watching a program that runs on
// emulated devices: a picture of the module as it looks, and its lines as text.

#include "DeviceFiles.h"
#include "drivers/Hd44780Font.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <vector>

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

// Dark dots on a green panel; without the backlight, the same much dimmer.
QColor shade(QRgb colour, bool lit) {
    const QColor full = QColor::fromRgb(colour);
    return lit ? full : full.darker(260);
}

int controllerOf(const Module& module, int line) {
    return line >= 2 && module.controllers() > 1 ? 1 : 0;
}

GlyphRows shapeOf(const Module& module, int line, quint8 code) {
    if (!module.displayOn(line)) {
        return {};
    }
    if (const std::optional<int> slot = Hd44780::glyphSlot(code)) {
        return module.glyph(controllerOf(module, line), *slot);
    }
    return romGlyph(code);
}

QImage draw(const Module& module) {
    const bool lit = module.backlight();
    QImage image(2 * kMargin + module.columns() * kCellWidth - kPitch,
                 2 * kMargin + module.lines() * kCellHeight - 2 * kPitch, QImage::Format_RGB32);
    image.fill(shade(0x8DB83A, lit));
    const QColor on = shade(0x1D2B10, lit);
    const QColor off = shade(0x84AC35, lit);
    for (int line = 0; line < module.lines(); ++line) {
        const QByteArray codes = module.line(line);
        for (int column = 0; column < module.columns(); ++column) {
            const GlyphRows rows = shapeOf(module, line, static_cast<quint8>(codes[column]));
            for (int row = 0; row < 8; ++row) {
                for (int dot = 0; dot < 5; ++dot) {
                    const bool set = rows[row] & (0x10 >> dot);
                    const int x = kMargin + column * kCellWidth + dot * kPitch;
                    const int y = kMargin + line * kCellHeight + row * kPitch;
                    for (int dy = 0; dy < kDot; ++dy) {
                        for (int dx = 0; dx < kDot; ++dx) {
                            image.setPixelColor(x + dx, y + dy, set ? on : off);
                        }
                    }
                }
            }
        }
    }
    return image;
}

QByteArray text(const Module& module) {
    QString text;
    for (int line = 0; line < module.lines(); ++line) {
        const QByteArray codes = module.line(line);
        for (int column = 0; column < module.columns(); ++column) {
            const auto code = static_cast<quint8>(codes[column]);
            const std::optional<int> slot = Hd44780::glyphSlot(code);
            text += !module.displayOn(line) ? QStringLiteral(" ")
                    : slot ? terminalGlyph(module.glyph(controllerOf(module, line), *slot))
                           : terminalGlyph(code);
        }
        text += u'\n';
    }
    text += module.backlight() ? QStringLiteral("rétroéclairage allumé\n")
                               : QStringLiteral("rétroéclairage éteint\n");
    return text.toUtf8();
}

void save(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents);
        file.commit();
    }
}

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
            worker = std::thread([this] { run(); });
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
        lock.unlock();
        drawChanged(); // what the last moments changed
    }

    void drawChanged() {
        QDir().mkpath(folder);
        std::map<QString, std::shared_ptr<Module>> modules;
        {
            detail::Registry& r = detail::registry();
            const std::lock_guard lock(r.mutex);
            modules = r.modules;
        }
        for (const auto& [name, module] : modules) {
            const std::pair<const Module*, quint64> state{module.get(), module->changes()};
            if (drawn[name] == state) {
                continue;
            }
            drawn[name] = state;
            QByteArray png;
            {
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                draw(*module).save(&buffer, "PNG");
            }
            save(QDir(folder).filePath(name + QStringLiteral(".png")), png);
            save(QDir(folder).filePath(name + QStringLiteral(".txt")), text(*module));
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
