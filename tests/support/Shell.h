#pragma once

#include "shell/F_Interface.h"
#include "support/FakePanel.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

// Settings of a serial panel that nobody reads, and a profile of one page with a scrolling line.
inline const QByteArray kShellSettings = "[parametres]\nTypeLCD=2\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                                         "backlight=0\nrefresh=300\nscrolling=0\n"
                                         "rep_winamp=\nrep_seti=/seti/\nrep_HL=\n";
inline const QByteArray kProfile = "[param]\nnb_pages=1\nplein=#\nvide=-\nIp_Local_Ex=\n"
                                   "[page_1]\nligne0=Commun\nligne1=Un\nligne2=\nligne3=\n"
                                   "scroll0=2\nscroll1=0\nscroll2=0\nscroll3=0\ntime=0\nnext=0\n";

// The engine alone, started as the terminal starts it, or the main window around one, on settings
// of their own, with the panel, boxes, log, start-up pauses, Open dialog and exit recorded. The
// panel is a FakePanel unless the settings put it on screen (TypeLCD=1) or on LCDd (TypeLCD=4).
struct Shell {
    TempDir dir;
    RecordingMessageBoxes boxes;
    FakePanel* panel = nullptr;        // made at start-up
    QStringList log;                   // the engine's, line by line
    int pauses = 0;                    // start-up pauses
    std::function<void()> duringPause; // what happens in each pause of start-up
    QString chosenProfile;             // what the Open dialog answers; empty: cancelled
    QString openedIn;                  // the folder the dialog last opened in
    int ends = 0;
    bool trayAvailable = false;
    ShellEnvironment env;
    StartUp plan; // what the command line or a first run asks for
    std::unique_ptr<Engine> engine;
    std::unique_ptr<F_Interface> window;

    explicit Shell(const QByteArray& settings = kShellSettings) {
        dir.write("param.ini", settings);
        env.settingsDir = env.executableDir = dir.path();
        env.boxes = &boxes;
        env.pause = [this](const std::function<void()>& resume) {
            ++pauses;
            if (duringPause) {
                duringPause();
            }
            resume();
        };
        env.mbmBlockName = QStringLiteral("/relayeur-test-no-such-block");
        env.lineMessageDir = dir.file("run");
        if (!settings.contains("TypeLCD=1") && !settings.contains("TypeLCD=4")) {
            env.makePanel = [this](const DisplayConfig&) {
                auto made = std::make_unique<FakePanel>();
                panel = made.get();
                return made;
            };
        }
        env.chooseProfile = [this](QWidget*, const QString& folder) {
            openedIn = folder;
            return chosenProfile;
        };
        env.endProgram = [this] { ++ends; };
        env.trayAvailable = [this] { return trayAvailable; };
    }
    Engine& startEngine() {
        engine = std::make_unique<Engine>(env);
        QObject::connect(engine.get(), &Engine::logAdded, [this](const QString& l) { log << l; });
        engine->startUp(plan);
        return *engine;
    }
    F_Interface& startWindow(bool hidden = false) {
        window = std::make_unique<F_Interface>(env);
        window->Form_Load(plan, hidden);
        return *window;
    }
};
