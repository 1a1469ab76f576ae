// The program without its window: start-up, profiles and pages, the feed, line messages and
// the refresh, as the window and the terminal drive them.
#include "shell/Engine.h"

#include "linemessage/LineMessage.h"
#include "shell/LineMessageClient.h"
#include "support/FakePanel.h"
#include "support/LineFields.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ShellSettings.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const QString kHandle = QStringLiteral("4A00007");

// An engine on settings of its own, with its panel, boxes and log recorded; started up as the
// window starts it.
struct Core {
    TempDir dir;
    RecordingMessageBoxes boxes;
    FakePanel* panel = nullptr; // made by the engine at start-up
    QStringList log;
    std::unique_ptr<Engine> engine;

    explicit Core(const QByteArray& settings = kShellSettings, const QByteArray& runDir = "run",
                  const QString& sensorBlock = QStringLiteral("/relayeur-test-no-such-block")) {
        if (!settings.isNull()) {
            dir.write("param.ini", settings);
        }
        EngineEnvironment env;
        env.settingsDir = dir.path();
        env.executableDir = dir.path();
        env.boxes = &boxes;
        env.pause = [] {};
        env.mbmBlockName = sensorBlock;
        env.lineMessageDir = dir.file(QString::fromUtf8(runDir));
        env.makePanel = [this](const DisplayConfig&) {
            auto made = std::make_unique<FakePanel>();
            panel = made.get();
            return made;
        };
        engine = std::make_unique<Engine>(env);
        QObject::connect(engine.get(), &Engine::logAdded,
                         [this](const QString& line) { log.append(line); });
        engine->HookWindow(kHandle);
        engine->ReadParm();
        engine->prepare();
    }
    bool load(const QByteArray& profile) {
        return engine->LoadProfile(dir.write("p.tlcd", profile));
    }
    QString socket(const QString& name) { return dir.file("run/" + name); }
};

} // namespace

TEST(Engine, StartUpLogsTheSettingsAndLeavesThePanelAndTheFeedIdle) {
    Core s;
    EXPECT_EQ(s.log.size(), 26);
    ASSERT_EQ(s.boxes.boxes.size(), 1); // Motherboard Monitor is not running
    EXPECT_EQ(s.boxes.boxes[0].title, "Relayeur");
    EXPECT_FALSE(s.engine->Timer1().isEnabled());
    EXPECT_EQ(s.engine->Timer1().interval(), 300);
    EXPECT_TRUE(s.engine->Timer2().isEnabled());
    EXPECT_FALSE(s.engine->Timer2().isRunning());
    EXPECT_FALSE(s.engine->state().flags.HLAvailable);
    EXPECT_EQ(s.panel->inits, 0);
    EXPECT_FALSE(s.engine->Command1()) << "no profile yet: the start button does nothing";
    EXPECT_EQ(s.panel->inits, 0);

    Core none{QByteArray()};
    EXPECT_EQ(none.log.size(), 4);
    ASSERT_EQ(none.boxes.boxes.size(), 1);
    EXPECT_EQ(none.boxes.boxes[0].text, "Erreur lors du chargement du fichier param.ini");
    EXPECT_EQ(none.engine->Timer1().interval(), 0);
    none.engine->setRefresh(0);
    EXPECT_FALSE(none.engine->Timer1().isRunning()) << "an interval of 0 never fires";

    Core noSockets(kShellSettings, "param.ini");
    EXPECT_TRUE(noSockets.log[0].startsWith("Messages des autres programmes indisponibles : " +
                                            noSockets.dir.file("param.ini")))
        << noSockets.log[0].toStdString();
    EXPECT_EQ(noSockets.log.size(), 27) << "then the usual start-up log";
    EXPECT_TRUE(noSockets.engine->lineMessages().socketPaths().isEmpty());
}

TEST(Engine, SliderAndStartButtonStartTheFeedAndStoppingLeavesTheBanner) {
    Core s;
    s.engine->setRefresh(800);
    ASSERT_TRUE(s.load(kTwoPages));
    EXPECT_TRUE(s.engine->Timer1().isRunning());
    EXPECT_EQ(s.engine->Timer1().interval(), 800);
    EXPECT_EQ(s.panel->inits, 1) << "the panel is set up before the first refresh";
    EXPECT_FALSE(s.engine->feeding()) << "the slider leaves the button as it is";

    s.engine->Command1();
    EXPECT_EQ(s.panel->inits, 2);
    EXPECT_TRUE(s.engine->Timer1().isRunning());
    EXPECT_TRUE(s.engine->feeding());

    s.engine->Command1();
    EXPECT_EQ(s.panel->inits, 3);
    EXPECT_FALSE(s.engine->Timer1().isEnabled());
    EXPECT_EQ(s.panel->written, QByteArrayList({kStopBanner}));
    EXPECT_FALSE(s.engine->feeding());
}

TEST(Engine, LineMessagesReplaceALineUntilTheNextPageAndAnythingElseChangesNothing) {
    Core s;
    ASSERT_TRUE(s.load(kTwoPages));
    PageModel& pages = s.engine->state().pages;
    const auto lines = pages.CurrentLines;
    const auto templates = pages.LineTemplate;
    // Held while messages come over the sockets, so that no page comes between two of them.
    s.engine->Timer2().setEnabled(false);

    LineMessageClient byHandle;
    ASSERT_TRUE(byHandle.connectTo(s.socket(kHandle)));
    EXPECT_EQ(byHandle.send(4, "Salut30"), linemessage::kIgnored);
    EXPECT_EQ(byHandle.send(3, "Salut34"), linemessage::kIgnored);
    for (int l = 0; l < kLinesPerPage; ++l) {
        EXPECT_EQ(fields(pages.CurrentLines[l]), fields(lines[l])) << l;
        EXPECT_EQ(pages.LineTemplate[l], templates[l]) << l;
    }
    EXPECT_EQ(s.engine->Timer2().interval(), 3000);

    pages.CurrentLines[0].ScrollPos = 5;
    pages.CurrentLines[0].ScrollDir = 1;
    EXPECT_EQ(byHandle.send(3, "Salut30"), linemessage::kTaken);
    EXPECT_EQ(fields(pages.CurrentLines[0]), std::tuple(QByteArray("Salut"), 0, 3, 5, 0, 1, 1))
        << "the line starts from its beginning";
    LineMessageClient byDefault;
    ASSERT_TRUE(byDefault.connectTo(s.socket("default")));
    EXPECT_EQ(byDefault.send(3, "12"), linemessage::kTaken);
    EXPECT_EQ(fields(pages.CurrentLines[2]), std::tuple(QByteArray(), 0, 1, 0, 0, 1, 1))
        << "the two digits alone put an empty text";
    EXPECT_EQ(byDefault.send(3, "Bonjour12"), linemessage::kTaken);
    EXPECT_EQ(fields(pages.CurrentLines[2]), std::tuple(QByteArray("Bonjour"), 0, 1, 7, 0, 1, 1));
    EXPECT_EQ(pages.LineTemplate[2], QByteArray("Bonjour"));
    for (int other : {1, 3}) {
        EXPECT_EQ(fields(pages.CurrentLines[other]), fields(lines[other])) << other;
    }
    EXPECT_EQ(s.engine->Timer2().interval(), 10);
    EXPECT_FALSE(s.engine->Timer2().isEnabled()) << "a stopped page timer stays stopped";

    // A running page timer brings the next page ten milliseconds later, with its own lines.
    s.engine->Timer2().setInterval(3000);
    s.engine->Timer2().setEnabled(true);
    EXPECT_EQ(s.engine->RelayWindowProc(3, "Fin03"), linemessage::kTaken);
    EXPECT_TRUE(s.engine->Timer2().isRunning());
    EXPECT_EQ(s.engine->Timer2().interval(), 10);
    QSignalSpy tick(&s.engine->Timer2(), &IntervalTimer::timeout);
    ASSERT_TRUE(tick.wait(2500)) << "sooner than the 3 s it had";
    EXPECT_EQ(pages.CurrentLines[0].Text, QByteArray("Commun"));
    EXPECT_EQ(pages.CurrentLines[1].Text, QByteArray("Deux"));
    EXPECT_TRUE(pages.CurrentLines[2].Text.isEmpty());
    EXPECT_TRUE(pages.CurrentLines[3].Text.isEmpty());
}

TEST(Engine, RefreshTakesMediaAndGameValuesFromTheMachine) {
    TempDir seti;
    seti.write("Work0/state.sah", "<state>\nncpus=1\ncpu=1\nbest=2\nprog=0.523456\n</state>\n");
    Core s(QByteArray(kShellSettings)
               .replace("rep_seti=/seti/", "rep_seti=" + seti.path().toUtf8() + "/"));
    ASSERT_TRUE(s.load("[param]\nnb_pages=1\n[page_1]\nligne0=SETI %%seti_progress%\n"
                       "ligne1=%%HL_FPS fps\nligne2=[%%winamp_titre]\nligne3=\nscroll0=0\n"
                       "scroll1=0\nscroll2=0\nscroll3=0\ntime=0\nnext=0\n"));
    s.engine->Command1();
    Q_EMIT s.engine->Timer1().timeout();
    ASSERT_GE(s.panel->written.size(), 6);
    EXPECT_EQ(s.panel->written[1].trimmed(), "SETI 52%");
    EXPECT_EQ(s.panel->written[3].trimmed(), "%%HL_FPS fps") << "no Half-Life library here";
    EXPECT_EQ(s.panel->written[5].trimmed(), "[]") << "no media player: an empty title";
}

TEST(Engine, ABoxThatASourceRaisesDuringARefreshComesOnceTheRefreshIsOver) {
    const QString block =
        QStringLiteral("/relayeur-engine-test-%1").arg(QCoreApplication::applicationPid());
    const int fd = ::shm_open(qPrintable(block), O_CREAT | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 197), 0);
    Core s(kShellSettings, "run", block);
    ::shm_unlink(qPrintable(block));
    ASSERT_TRUE(s.engine->state().flags.MbmPresent);
    ASSERT_TRUE(s.load("[param]\nnb_pages=1\n[page_1]\nligne0=%%temp1\nscroll0=0\nscroll1=0\n"
                       "scroll2=0\nscroll3=0\ntime=0\nnext=0\n"));
    ASSERT_EQ(::ftruncate(fd, 0), 0) << "the producer left a block too short to read";
    ::close(fd);
    s.engine->Command1();
    qsizetype writtenAtBox = -1;
    s.boxes.onShow = [&] { writtenAtBox = s.panel->written.size(); };
    Q_EMIT s.engine->Timer1().timeout();
    ASSERT_EQ(s.boxes.boxes.size(), 1);
    EXPECT_EQ(s.boxes.boxes[0].text, "MBM Data File/Mem could not be opened. Sorry.");
    EXPECT_EQ(writtenAtBox, s.panel->written.size()) << "the whole frame went out first";
    EXPECT_GT(writtenAtBox, 0);
}
