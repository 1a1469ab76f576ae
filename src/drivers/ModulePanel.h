#pragma once

#include "drivers/ModuleLink.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/Panel.h"
#include "model/FaultReport.h"
#include "model/Log.h"

#include <QObject>
#include <QString>
#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// What a module shows: the code of every cell, line by line, and its user-defined characters.
struct ModuleImage {
    std::vector<QByteArray> rows; // one per panel line, as wide as the panel
    std::array<GlyphRows, 8> glyphs{};
    bool lit = true; // the backlight as the settings have it; false: out
    friend bool operator==(const ModuleImage&, const ModuleImage&) = default;
};

// A character module the program drives through a device of Linux (an I2C backpack, GPIO lines,
// the kernel's LCD, a USB serial module). Each frame is first drawn on an on-screen panel of the
// module's size, so the module shows what the on-screen panel shows; a thread of the panel's own
// then sends the module the cells and user-defined characters that differ from what it holds.
// The window never waits on the bus: a frame that comes while the last is still being sent
// replaces any frame still waiting.
//
// A device that cannot be opened, or that fails, is told once in the log and on standard error;
// the thread tries it again every second and, once it opens, sends the whole image again. Its
// coming back is told too.
class ModulePanel : public Panel {
public:
    // `name` names the panel in the log (« afficheur I2C /dev/i2c-1 »).
    ModulePanel(std::unique_ptr<ModuleLink> link, const ModuleSettings& settings, QString name,
                Log& log, CharacterSet rom = CharacterSet::A00);
    ~ModulePanel() override;

    void reset() override;
    void show(const Frame& frame) override;
    PanelCharacters characters() const override { return {false, 8}; }
    // Sent by the panel's thread with the next image.
    bool setBacklight(bool on) override;

    // Waits until the thread has dealt with everything given so far: sent it, or found the
    // device missing. Tests use it; the program's end waits the same way, a second at most.
    void flush();

private:
    void post(bool restart);
    void run();
    bool bringUp(QString& error);
    bool sendDifferences(QString& error);
    void note(const QString& line, bool recovered);
    void deliver();

    std::unique_ptr<ModuleLink> link;
    QString name;
    Log& log;
    FaultLatch failure;    // on the window's thread
    QObject context;       // on the window's thread: where the thread's news is delivered
    OnScreenPanel drawn;   // what the module must show, drawn on the window's thread
    bool lit = true;       // on the window's thread, for the next image
    const bool switchable; // the link has a backlight
    std::optional<ModuleImage> posted;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::optional<ModuleImage> waiting; // the newest image not yet taken by the thread
    bool restarting = false;            // reset(): the module starts afresh
    bool busy = false;
    bool active = false; // reset() has run: the module is wanted
    bool stopping = false;
    // What the thread found, for the window's thread to tell: a fault, or the device back.
    std::vector<std::pair<QString, bool>> news;

    // The thread's own: the image it sends, and what the module holds since it last opened
    // (nothing while the device is closed; a glyph unknown until written).
    ModuleImage wanted;
    bool open = false;
    std::vector<QByteArray> heldRows;
    bool heldLit = true; // a module opens with the backlight of the settings
    std::array<std::optional<GlyphRows>, 8> heldGlyphs;
    std::thread worker;
};
