#include "engine/Engine.h"

#include "drivers/Panels.h"
#include "engine/MqttBridge.h"
#include "engine/NamedValues.h"
#include "engine/PageRefresh.h"
#include "engine/QuietHours.h"
#include "engine/StartUp.h"
#include "linemessage/LineMessage.h"
#include "platform/AnsiText.h"
#include "platform/IniFile.h"
#include "platform/LocalClock.h"
#include "profile/LoadPage.h"
#include "profile/LoadProfile.h"
#include "render/GameGroups.h"
#include "render/WinampGroup.h"
#include "sources/NetworkAddress.h"
#include "sources/media/MprisModuleLink.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <chrono>

Engine::Engine(EngineEnvironment environment, QObject* parent)
    : QObject(parent), env(std::move(environment)), sourceBoxes(env.boxes),
      lineMessageServer([this](quint32 dwData, const QByteArray& data, const SocketPeer& sender) {
          return RelayWindowProc(dwData, data, sender);
      }),
      lineMessageLog(*this, [this] { return env.monotonicMs(); }),
      lcddServer(screens, [this] { return (env.monotonicMs() - lcddServerStart) / kLcddTickMs; }) {
    if (!env.monotonicMs) {
        env.monotonicMs = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    lineMessageServer.setAccepting(false); // until start-up is over
    timer1.setObjectName(QStringLiteral("Timer1"));
    timer2.setObjectName(QStringLiteral("Timer2"));
    timer1.setInterval(500);
    timer2.setEnabled(true);
    app.mbm.blockName = env.mbmBlockName;
    sources = env.sources ? *env.sources : systemSources();
    if (!env.pause) {
        // The start-up log grows visibly; the event loop goes on meanwhile.
        env.pause = [this](std::function<void()> resume) {
            QTimer::singleShot(100, this, std::move(resume));
        };
    }
    if (env.halfLifeCandidates.isEmpty()) {
        env.halfLifeCandidates = halfLifeLibraryCandidates(env.executableDir);
    }
    connect(&timer1, &IntervalTimer::timeout, this, &Engine::Timer1_Timer);
    connect(&timer2, &IntervalTimer::timeout, this, &Engine::Timer2_Timer);
    connect(&sensorsPublisher, &SensorsPublisher::said, this, [this](const QString& line) {
        add(line);
        selectLast();
    });
}

Engine::~Engine() = default;

VariableSources Engine::systemSources() {
    VariableSources s;
    s.memoryStatus = [meminfo = std::make_shared<MeminfoFile>()] { return meminfo->read(); };
    s.mbmValue = [this](qint16 index, SensorKind kind) {
        return MbmValue(app.mbm, sourceBoxes, kAppTitle, index, kind);
    };
    s.ipAddresses = [this](const QByteArray& separator) {
        return IpAddresses(separator, app.params.Ip_Local_Ex, &systemAdapterAddresses);
    };
    s.now = [clock = std::make_shared<LocalClock>()] { return clock->now(); };
    s.locale = QLocale::system();
    s.halfLifeGroup = [this](QByteArray& text) {
        HalfLifeGroup(text, app.halfLife, sources.locale);
    };
    s.setiGroup = [this](QByteArray& text) { SetiGroup(text, app.config.rep_seti); };
    s.winampGroup = [this](QByteArray& text) {
        WinampGroup(text, app.winamp, app.config.rep_winamp, sources.locale);
    };
    s.namedValue = [this](QByteArrayView name) -> std::optional<QByteArray> {
        return values ? values->value(name) : std::nullopt;
    };
    s.mqttValue = [this](QByteArrayView topic, QByteArrayView field) -> std::optional<QByteArray> {
        return mqtt ? mqtt->value(topic, field) : std::nullopt;
    };
    return s;
}

QString Engine::settingsFile() const {
    return QDir(env.settingsDir).filePath(QStringLiteral("param.ini"));
}

void Engine::add(const QString& line) {
    Q_EMIT logAdded(line);
}

void Engine::selectLast() {
    Q_EMIT logShown();
}

void Engine::logLine(const QString& line) {
    add(line);
}

// Other programs reach the program through a socket named after the handle the window shows, or
// through the default one.
void Engine::HookWindow(const QString& handle) {
    const RuntimePath dir = env.lineMessageDir.isEmpty() ? linemessage::defaultDir()
                                                         : RuntimePath{env.lineMessageDir, {}};
    const QStringList problems =
        dir.path.isEmpty()
            ? QStringList{dir.problem}
            : lineMessageServer.listen(dir.path, {handle, linemessage::kDefaultName});
    for (const QString& problem : problems) {
        add(tr("Messages des autres programmes indisponibles : %1").arg(problem));
    }
}

// Settings the refresh cannot use as they stand are brought into range, with a word in the log.
void Engine::checkDisplaySettings() {
    const qint16 lines = std::clamp<qint16>(app.config.L, 1, kLinesPerPage);
    if (lines != app.config.L) {
        add(tr("Lignes = %1 : l'afficheur a de 1 à 4 lignes, %2 sont utilisées")
                .arg(app.config.L)
                .arg(lines));
        app.config.L = lines;
    }
    if (!namesPanel(app.config.TypeLCD)) {
        add(tr("TypeLCD = %1 ne désigne aucun afficheur (%2) : rien ne sera affiché")
                .arg(app.config.TypeLCD)
                .arg(panelNames()));
    }
    selectLast();
}

void Engine::prepare() {
    winampLink = std::make_unique<MprisModuleLink>(
        helperCandidates(env.executableDir, QStringLiteral("relayeur-mpris.so")),
        ansi::toUnicode(app.config.rep_winamp), readAudioStreamInfo,
        [this](const QString& problem) {
            add(problem);
            selectLast();
        });
    app.winamp.link = winampLink.get();
    panel = makePanel();
    openLcdServer();
    // The sections of values from outside, read from one reading of the file.
    const IniFile settings = IniFile::load(settingsFile());
    startValues(settings);
    startMqtt(settings);
    startQuiet(settings);
    app.flags.HLAvailable =
        LoadInfoDllFrom(app.halfLife, env.halfLifeCandidates, app.config.rep_HL) == 0;
    timer1.setInterval(app.config.refresh);
    timer1.setEnabled(false);
}

std::unique_ptr<Panel> Engine::makePanel() {
    if (env.makePanel) {
        return env.makePanel(app.config);
    }
    return ::makePanel(app.config, {*this, [this](const QString& key) { panelKey(key); },
                                    [this](OnScreenPanel& shown) { onScreen = &shown; }});
}

// The panel's keys page through the rotation while the feed runs.
void Engine::turnPageByKey(const QString& key) {
    if (!feed) {
        return;
    }
    if (key == QLatin1String("Down")) {
        LoadPage(app.pages.NextPage);
    } else if (key == QLatin1String("Up") && !pagesBefore.isEmpty()) {
        const qint16 page = pagesBefore.takeLast();
        LoadPage(page);
        pagesBefore.removeLast(); // LoadPage noted the page left, which is not a way back
    }
}

void Engine::Timer1_Timer() {
    // The keys pressed on the panel since the last refresh: the page they turn is drawn now.
    if (panel) {
        panel->takeInput();
    }
    releaseHeldLines(app.pages, env.monotonicMs());
    if (lcddServerPaced) {
        lcddServer.serve();
    }
    if (const std::optional<Frame> screen = clientScreenFrame()) {
        if (panel) {
            QByteArrayList rows;
            for (const std::optional<QByteArray>& row : screen->rows) {
                rows.append(row.value_or(QByteArray()));
            }
            panel->show(quietened(forPanel(*screen, rows)));
        }
        return;
    }
    if (trial) {
        showTrialLines(); // over whatever a page turn put there since
    }
    const std::optional<Frame> frame =
        refreshPage(app.pages, app.config, app.flags, sources, app.params);
    if (frame && panel) {
        panel->show(quietened(forPanel(*frame)));
    }
    sourceBoxes.release();
}

// With a character ROM chosen, a frame goes out as the panel's codes.
Frame Engine::forPanel(Frame frame) {
    if (app.config.caracteres == CharacterSet::Ansi) {
        return frame;
    }
    return forPanel(std::move(frame),
                    referringTexts(app.pages, app.config.L, app.params.plein, app.params.vide));
}

Frame Engine::forPanel(Frame frame, const QByteArrayList& referring) {
    return panelFrame(std::move(frame), app.config, panel->characters(), referring, glyphSlots);
}

// The page's time is over: the next client screen in turn shows, or the next page. A line
// message brings the page back at once, whatever the turns.
void Engine::Timer2_Timer() {
    if (!std::exchange(messageReload, false) && !screenTurns.turn && startScreenTurn()) {
        return;
    }
    screenTurns.turn.reset();
    if (trial) {
        showTrialLines(); // the rotation waits for the end of the trial
        return;
    }
    // A page that stays lent its time to the clients' screens: it comes back, not the next one.
    LoadPage(std::exchange(screenTurns.pageStays, false) ? app.pages.ShownPage
                                                         : app.pages.NextPage);
    lendStillPage();
}

QList<RecentEntry> Engine::RecentProfile() {
    return ::RecentProfile(app.recent, settingsFile());
}

bool Engine::PushRecentProfile(const QString& file) {
    return recentWritten(::PushRecentProfile(settingsFile(), file));
}

bool Engine::RaiseRecentProfile(const QString& file) {
    return recentWritten(::RaiseRecentProfile(settingsFile(), file));
}

bool Engine::recentWritten(bool written) {
    if (written) {
        return true;
    }
    add(tr("Impossible d'écrire %1 : la liste des profils récents n'est pas mise à jour")
            .arg(settingsFile()));
    selectLast();
    return false;
}

LoadOutcome Engine::LoadProfile(const QString& path) {
    LoadOutcome loaded = ::LoadProfile(path, {app.pages, app.params, *this, [this, path] {
                                                  profile = path;
                                                  LoadPage(1);
                                              }});
    if (loaded && trial) {
        trial->profileParams = std::exchange(app.params, trial->params);
    }
    if (loaded && !startReady) {
        startReady = true;
        Q_EMIT startAvailable(true);
    }
    return loaded;
}

void Engine::LoadPage(qint16 page) {
    if (shownPage != 0) {
        if (pagesBefore.size() == kPagesRemembered) {
            pagesBefore.removeFirst();
        }
        pagesBefore.append(shownPage);
    }
    timer2.setEnabled(false);
    timer2.setInterval(::LoadPage(app.pages, page));
    timer2.setEnabled(true);
    shownPage = page;
    Q_EMIT pageShown(profile, page);
    tellMqtt();
}

bool Engine::Command1() {
    if (!startReady) {
        return false;
    }
    // Keys pressed on the panel while the feed was stopped turn no page.
    if (panel) {
        panel->takeInput();
    }
    InitLCD();
    if (trial) {
        trial->startedFeed = false; // the feed is the user's again
    }
    stopsOnPress = !stopsOnPress;
    if (stopsOnPress) {
        startFeed();
    } else {
        stopFeed();
        if (panel) {
            panel->show(forPanel(Frame::banner(kStopBanner)));
        }
    }
    Q_EMIT startButtonChanged(stopsOnPress);
    return true;
}

// The slider sets the period and starts the feed, whatever the button says; the panel is set up
// first if the button never ran.
void Engine::setRefresh(int ms) {
    if (!panelInitialised) {
        InitLCD();
    }
    timer1.setEnabled(false);
    timer1.setInterval(ms);
    if (trial) {
        trial->startedFeed = false;
    }
    startFeed();
}

void Engine::startFeed() {
    timer1.setEnabled(true);
    const bool was = std::exchange(feed, true);
    paceLcdServer();
    if (!was) {
        Q_EMIT feedingChanged(true);
        tellMqtt();
    }
}

void Engine::stopFeed() {
    timer1.setEnabled(false);
    const bool was = std::exchange(feed, false);
    paceLcdServer();
    if (was) {
        Q_EMIT feedingChanged(false);
        tellMqtt();
    }
}

void Engine::InitLCD() {
    if (panel) {
        panel->reset();
    }
    panelInitialised = true;
}

quint32 Engine::RelayWindowProc(quint32 dwData, const QByteArray& data, const SocketPeer& sender) {
    QString refusal;
    const std::optional<linemessage::LineMessage> message =
        linemessage::parse(dwData, data, &refusal);
    if (!message) {
        lineMessageLog.refused(sender, refusal);
        return linemessage::kIgnored;
    }
    lineMessageLog.taken(sender, *message);
    // A message lights a quiet panel up for as long as it stays, or for the page's time.
    wakePanel(message->hold > 0 ? message->hold * 1000LL
                                : app.pages.PageTiming[app.pages.ShownPage][kPageTime] * 1000LL);
    if (message->hold > 0) {
        // The line is the message's until the hold ends, at a refresh; the pages go on.
        holdOnPage(app.pages, message->line, message->text, message->mode,
                   env.monotonicMs() + message->hold * 1000LL);
        return linemessage::kTaken;
    }
    putOnPage(app.pages, message->line, message->text, message->mode);
    // The page timer runs at once; its enabled state stays as it was.
    messageReload = true;
    screenTurns.pageStays = false;
    timer2.setInterval(10);
    return linemessage::kTaken;
}

void Engine::EndProc() {
    if (startingUp()) {
        endAsked = true;
        return;
    }
    if (ended) {
        return;
    }
    ended = true;
    lineMessageServer.close();
    lcddServer.close();
    stopFeed();
    endMqtt();
    timer2.setEnabled(false);
    InitLCD();
    sensorsPublisher.end();
    Q_EMIT endedRun();
}
