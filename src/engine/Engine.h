#pragma once

#include "drivers/Panel.h"
#include "engine/HeldMessageBoxes.h"
#include "engine/IntervalTimer.h"
#include "engine/LcdServer.h"
#include "engine/LineMessageLog.h"
#include "engine/LineMessageServer.h"
#include "engine/ScreenTurns.h"
#include "engine/SensorsPublisher.h"
#include "engine/StartUp.h"
#include "model/DisplayConfig.h"
#include "model/Log.h"
#include "platform/MessageBoxes.h"
#include "profile/LoadProfile.h"
#include "profile/PageModel.h"
#include "profile/RecentProfiles.h"
#include "render/CharacterMapping.h"
#include "render/ExpandVariables.h"
#include "sources/hlcs.h"
#include "sources/mbm.h"
#include "sources/winamp.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class OnScreenPanel;
class IniFile;
class NamedValues;
class MqttBridge;
class QuietHours;
struct QuietSettings;
enum class QuietReason;

// Everything the program knows, owned by the engine for the whole run.
struct AppState {
    DisplayConfig config;
    PresenceFlags flags;
    ProfileParams params;
    PageModel pages;
    RecentProfiles recent;
    MbmLink mbm;
    HalfLifeLibrary halfLife;
    WinampState winamp;
};

// What the engine needs from the world around it; tests replace any of it.
struct EngineEnvironment {
    QString settingsDir;
    QString executableDir;
    MessageBoxes* boxes = nullptr; // not owned
    // A short pause of the start-up log, which calls `resume` once it is over; empty: 100 ms
    // on the event loop.
    std::function<void(std::function<void()> resume)> pause;
    QString mbmBlockName = kMbmBlockName;
    // What capteurs=1 starts to publish that block; empty: relayeur-sensors beside the executable.
    QString sensorsPublisher;
    QStringList halfLifeCandidates; // empty: beside the executable, then the library path
    // Makes the panel that TypeLCD names; empty: the panels of the program.
    std::function<std::unique_ptr<Panel>(const DisplayConfig&)> makePanel;
    // Where the variables take their values; empty: this machine, now, in the user's locale.
    std::optional<VariableSources> sources;
    QString lineMessageDir; // where the line-message sockets go; empty: the user's runtime dir
    // Milliseconds on a clock that never goes back, for the lines that messages hold; empty:
    // the system's.
    std::function<qint64()> monotonicMs;
};

// What the window adds to the start-up; the terminal needs none of it.
struct StartUpHooks {
    std::function<void()> showWindow; // the tray icon and the window
    // The handle that names the line-message sockets; empty: the window hooks them itself later.
    // Unset: the process id.
    std::function<QString()> windowHandle;
    std::function<void()> panelMade; // the panel TypeLCD names exists
    std::function<void(const QList<RecentEntry>&)> recentListed;
    std::function<void()> ready;  // the refresh interval is set; the profile comes next
    std::function<void()> paused; // the log pauses: what it shows so far may be drawn
};

inline const QString kAppTitle = QStringLiteral("Relayeur");
inline const QString kWindowCaption = QStringLiteral("TLCD - Relayeur");
// Left on the panel when the feed stops: the project's address between two spaces.
inline const QByteArray kStopBanner = QByteArrayLiteral(" relayeur.github.io ");

// The program without its window: the settings, the profile and its pages, the panel, the refresh
// and page timers and the line-message sockets. The window and the terminal view drive it and
// show what it tells them; it runs the program's procedures in the order they are called.
class Engine : public QObject, private Log {
    Q_OBJECT
public:
    explicit Engine(EngineEnvironment environment, QObject* parent = nullptr);
    ~Engine() override;

    // Start-up, once, in this order: the sockets named after the window's handle, the notes of
    // a first run, the settings and the outside programs with the pauses of the log, the panel
    // and the Half-Life library, the recent profiles, then the profile to show and start. The
    // pauses leave the event loop running, but nothing from outside is handled before the end:
    // the sockets take no connection yet and a way out waits for it.
    void startUp(const StartUp& plan, StartUpHooks hooks = {});
    bool startingUp() const { return startUpRun != nullptr; }
    void HookWindow(const QString& handle);
    void prepare();

    QList<RecentEntry> RecentProfile();
    bool PushRecentProfile(const QString& profile);
    bool RaiseRecentProfile(const QString& profile); // to the top, from where it is in the list
    LoadOutcome LoadProfile(const QString& profile);
    void LoadPage(qint16 page);
    // The start button: false when it is not available yet (no profile loaded).
    bool Command1();
    void setRefresh(int ms); // the slider, which starts the feed too
    quint32 RelayWindowProc(quint32 dwData, const QByteArray& data, const SocketPeer& sender = {});
    void EndProc(); // the clean-up of every way out; once, and after start-up

    // The profile editor's page on the panel, instead of the profile's, until endTrial: drawn
    // by each refresh with its own bargraph cells, while the pages do not turn. A new call
    // replaces the lines, those that did not change going on scrolling. When the feed is off it
    // starts, as the start button starts it, and endTrial stops it again.
    void tryPage(const std::array<LineRecord, kLinesPerPage>& lines, const ProfileParams& params);
    // The shown page back from its start, with the loaded profile's cells.
    void endTrial();
    bool trying() const { return trial.has_value(); }

    void logLine(const QString& line); // a line of the log that comes from around the engine

    AppState& state() { return app; }
    const AppState& state() const { return app; }
    // Where the variables take their values, for what draws pages beside the panel.
    const VariableSources& variableSources() const { return sources; }
    IntervalTimer& Timer1() { return timer1; }
    IntervalTimer& Timer2() { return timer2; }
    const LineMessageServer& lineMessages() const { return lineMessageServer; }
    const LcdServer& lcdServer() const { return lcddServer; }
    const ClientScreens& clientScreens() const { return screens; }
    // A key of the panel: to the client that asked for it, else it turns the pages.
    void panelKey(const QString& key);
    OnScreenPanel* onScreenPanel() const { return onScreen; } // TypeLCD 1 only
    QString settingsFile() const;
    QString lastProfile() const { return profile; }
    // Whether the refresh runs, however it was started.
    bool feeding() const { return feed; }
    // Whether the start button reads as the one that stops: pressing it then stops the feed.
    bool buttonStops() const { return stopsOnPress; }

Q_SIGNALS:
    void logAdded(const QString& line);
    void logShown(); // the newest line is to be brought into view
    void startAvailable(bool available);
    void feedingChanged(bool feeding);
    void startButtonChanged(bool stops);
    void pageShown(const QString& profile, int page);
    void startedUp();
    void endedRun();

private:
    // The start-up steps left; each says whether the log pauses after it.
    struct StartUpRun {
        std::vector<std::function<bool()>> steps;
        std::size_t next = 0;
        std::function<void()> paused;
        bool settingsRead = true; // a failed reading skips the rest of it, not of start-up
        // When set, the next pause lasts until it calls its continuation, instead of env.pause.
        std::function<void(std::function<void()> resume)> hold;
    };
    void runStartUp();
    void finishStartUp();
    void add(const QString& line) override;
    void selectLast() override;
    void Timer1_Timer();
    void Timer2_Timer();
    void checkDisplaySettings();
    bool recentWritten(bool written); // says in the log when the list could not be written
    void startSensorsPublisher();
    bool awaitSensorsPublisher();
    std::unique_ptr<Panel> makePanel();
    void turnPageByKey(const QString& key);
    void openLcdServer();
    void tellClients();
    std::optional<Frame> clientScreenFrame();
    void showClientScreen(const std::optional<ShownScreen>& screen);
    bool startScreenTurn();
    void lendStillPage();
    void paceLcdServer();
    void showTrialLines();
    void startFeed();
    void stopFeed();
    void InitLCD();
    VariableSources systemSources();
    // Values from outside, set up once the settings are read: [valeurs] (EngineValues.cpp),
    // [mqtt] (EngineMqtt.cpp) and [silence] (EngineQuiet.cpp).
    void startValues(const IniFile& settings);
    void startMqtt(const IniFile& settings);
    void tellMqtt(); // the page, the feed or the backlight changed
    void endMqtt();  // says "hors ligne" and leaves the broker
    void startQuiet(const IniFile& settings);
    // The frame the panel is sent while it is quiet: a blank one where the panel has no
    // backlight to put out; the frame itself otherwise.
    Frame quietened(Frame frame);
    // A message or an alert lights the panel up for `ms` when it is quiet.
    void wakePanel(qint64 ms);
    // The backlight switch from outside (Home Assistant): off makes the panel quiet until on.
    void askBacklight(bool on);
    bool backlightOn() const; // false while the panel is quiet
    void makeQuiet(QuietSettings settings);
    void quietChanged(QuietReason reason);
    Frame forPanel(Frame frame);
    Frame forPanel(Frame frame, const QByteArrayList& referring);

    EngineEnvironment env;
    AppState app;
    VariableSources sources;
    std::unique_ptr<WinampLink> winampLink; // the media player, once rep_winamp is known
    std::unique_ptr<Panel> panel;      // the one TypeLCD names, made once the settings are read
    OnScreenPanel* onScreen = nullptr; // `panel` when it is the on-screen one
    GlyphSlots glyphSlots;             // the letters the panel's own characters draw
    HeldMessageBoxes sourceBoxes;      // a source's boxes, shown once the frame is out
    IntervalTimer timer1;
    IntervalTimer timer2;
    LineMessageServer lineMessageServer;
    LineMessageLog lineMessageLog;
    ClientScreens screens; // what the LCDd server's clients show
    ScreenTurns screenTurns;
    LcdServer lcddServer;
    qint64 lcddServerStart = 0;        // ms, when it opened: its ticks count from there
    bool lcddServerPaced = false;      // the refresh reads and answers the clients
    QHash<int, QString> clientNames;   // as the log names each client
    bool messageReload = false;        // a line message asked the page to come again
    SensorsPublisher sensorsPublisher; // the one capteurs=1 started, for this run
    QString profile;                   // the last one loaded
    static constexpr qsizetype kPagesRemembered = 50;
    qint16 shownPage = 0;      // 0 before the first page
    QList<qint16> pagesBefore; // the pages shown before it, the latest last
    bool startReady = false;
    bool feed = false;
    bool stopsOnPress = false;
    bool panelInitialised = false;
    bool panelBacklight = false; // the quiet panel put its backlight out: it takes the frames
    bool ended = false;
    struct Trial {
        std::array<LineRecord, kLinesPerPage> lines;
        ProfileParams params;        // the edited profile's
        ProfileParams profileParams; // the loaded profile's, back at the end
        bool startedFeed = false;    // and the button has not been pressed since
    };
    std::optional<Trial> trial;
    std::unique_ptr<NamedValues> values;    // [valeurs], when it names any
    std::unique_ptr<MqttBridge> mqtt;       // [mqtt], when it names a server
    std::unique_ptr<QuietHours> quiet;      // [silence], when it asks for any
    std::unique_ptr<StartUpRun> startUpRun; // while start-up runs
    bool endAsked = false;                  // a way out was taken during start-up
};
