#include "drivers/ModulePanel.h"

#include <QCoreApplication>
#include <chrono>

namespace {
// How often a missing device is tried again.
constexpr std::chrono::seconds kRetry{1};
// How long the program's end waits for the last image to reach the module.
constexpr std::chrono::seconds kGoodbye{1};
// Cells that already show the right code, between two that do not, are written again rather
// than moving the cursor past them when they are this few: a move costs a command.
constexpr int kSmallGap = 3;

ModuleImage imageOf(const OnScreenPanel& panel, bool lit) {
    ModuleImage image;
    image.lit = lit;
    for (int line = 0; line < panel.lines(); ++line) {
        image.rows.push_back(panel.line(line));
    }
    for (int slot = 0; slot < 8; ++slot) {
        image.glyphs[slot] = panel.row(0).controller.glyph(slot);
    }
    return image;
}
} // namespace

ModulePanel::ModulePanel(std::unique_ptr<ModuleLink> link, const ModuleSettings& settings,
                         QString name, Log& log, CharacterSet rom)
    : link(std::move(link)), name(std::move(name)), log(log),
      drawn(settings.columns, settings.lines, rom), switchable(this->link->hasBacklight()) {
    wanted = imageOf(drawn, lit);
    worker = std::thread([this] { run(); });
}

ModulePanel::~ModulePanel() {
    {
        std::unique_lock lock(mutex);
        idle.wait_for(lock, kGoodbye, [this] { return !busy && !waiting && !restarting; });
        stopping = true;
    }
    wake.notify_all();
    worker.join();
    if (open) {
        link->close();
    }
}

void ModulePanel::reset() {
    drawn.reset();
    post(true);
}

void ModulePanel::show(const Frame& frame) {
    drawn.show(frame);
    post(false);
}

bool ModulePanel::setBacklight(bool on) {
    if (!switchable) {
        return false;
    }
    lit = on;
    post(false);
    return true;
}

void ModulePanel::flush() {
    {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return !busy && !waiting && !restarting; });
    }
    deliver();
}

void ModulePanel::post(bool restart) {
    ModuleImage image = imageOf(drawn, lit);
    if (!restart && posted == image) {
        deliver();
        return;
    }
    posted = image;
    {
        std::lock_guard lock(mutex);
        waiting = std::move(image);
        restarting = restarting || restart;
        active = active || restart;
    }
    wake.notify_all();
    deliver();
}

// The panel's thread: it takes the newest image, brings the module up when it is not, and sends
// the differences. A missing device is tried again every second once the panel has been reset,
// whether frames come or not; a reset tries it at once.
void ModulePanel::run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point nextAttempt = Clock::now();
    std::unique_lock lock(mutex);
    for (;;) {
        const auto due = [this] { return stopping || waiting || restarting; };
        if (open || !active) {
            wake.wait(lock, due);
        } else {
            wake.wait_until(lock, nextAttempt, due);
        }
        if (stopping) {
            return;
        }
        const bool restart = std::exchange(restarting, false);
        if (waiting) {
            wanted = std::move(*waiting);
            waiting.reset();
        }
        if (!active || (!open && !restart && Clock::now() < nextAttempt)) {
            idle.notify_all(); // kept for the next attempt
            continue;
        }
        busy = true;
        lock.unlock();

        if (restart && open) {
            link->close();
            open = false;
        }
        QString error;
        if (!open) {
            nextAttempt = Clock::now() + kRetry;
            if (bringUp(error)) {
                note(QCoreApplication::translate("ModulePanel", "%1 retrouvé").arg(name), true);
            } else {
                note(QCoreApplication::translate("ModulePanel", "%1 inaccessible : %2")
                         .arg(name, error),
                     false);
            }
        }
        if (open && !sendDifferences(error)) {
            link->close();
            open = false;
            nextAttempt = Clock::now() + kRetry;
            note(QCoreApplication::translate("ModulePanel", "%1 perdu : %2").arg(name, error),
                 false);
        }

        lock.lock();
        busy = false;
        idle.notify_all();
    }
}

// Opens the device: the module starts blank, its user-defined characters unknown.
bool ModulePanel::bringUp(QString& error) {
    if (!link->open(error)) {
        return false;
    }
    open = true;
    heldRows.assign(wanted.rows.size(), QByteArray());
    for (std::size_t line = 0; line < wanted.rows.size(); ++line) {
        heldRows[line] = QByteArray(wanted.rows[line].size(), ' ');
    }
    heldGlyphs = {};
    heldLit = true;
    return true;
}

bool ModulePanel::sendDifferences(QString& error) {
    if (heldLit != wanted.lit) {
        if (!link->setBacklight(wanted.lit, error)) {
            return false;
        }
        heldLit = wanted.lit;
    }
    for (int slot = 0; slot < 8; ++slot) {
        if (heldGlyphs[slot] != wanted.glyphs[slot]) {
            if (!link->defineGlyph(slot, wanted.glyphs[slot], error)) {
                return false;
            }
            heldGlyphs[slot] = wanted.glyphs[slot];
        }
    }
    for (std::size_t line = 0; line < wanted.rows.size(); ++line) {
        const QByteArray& target = wanted.rows[line];
        QByteArray& held = heldRows[line];
        const int width = static_cast<int>(target.size());
        for (int column = 0; column < width;) {
            if (held[column] == target[column]) {
                ++column;
                continue;
            }
            int end = column + 1; // one past the last cell of this run that differs
            for (int next = end; next < width && next - end <= kSmallGap; ++next) {
                if (held[next] != target[next]) {
                    end = next + 1;
                }
            }
            if (!link->write(static_cast<int>(line), column, target.mid(column, end - column),
                             error)) {
                return false;
            }
            held.replace(column, end - column, target.mid(column, end - column));
            column = end;
        }
    }
    return true;
}

// From the panel's thread: kept for the window's thread, which tells it at once if its event
// loop runs, else at the next frame.
void ModulePanel::note(const QString& line, bool recovered) {
    {
        std::lock_guard lock(mutex);
        news.emplace_back(line, recovered);
    }
    QMetaObject::invokeMethod(
        &context, [this] { deliver(); }, Qt::QueuedConnection);
}

void ModulePanel::deliver() {
    std::vector<std::pair<QString, bool>> taken;
    {
        std::lock_guard lock(mutex);
        taken.swap(news);
    }
    for (const auto& [line, recovered] : taken) {
        if (!recovered) {
            reportOnce(failure, log, line);
        } else if (failure.clear()) {
            reportFault(log, line);
        }
    }
}
