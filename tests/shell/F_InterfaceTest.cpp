#include "shell/F_Interface.h"

#include "about/frmAbout.h"
#include "drivers/OnScreenPanel.h"
#include "shell/LcdWidget.h"
#include "shell/LineMessageClient.h"
#include "shell/QtTranslations.h"
#include "support/FakePanel.h"
#include "support/LineFields.h"
#include "support/QtPrinters.h"
#include "support/ReadOnlyDir.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

const QByteArray kSettings = "[parametres]\nTypeLCD=2\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                             "backlight=0\nrefresh=300\nscrolling=0\n"
                             "rep_winamp=\nrep_seti=/seti/\nrep_HL=\n";

const QByteArray kTwoPages = "[param]\nnb_pages=2\nplein=#\nvide=-\nIp_Local_Ex=\n"
                             "[page_1]\nligne0=Commun\nligne1=Un\nligne2=\nligne3=\n"
                             "scroll0=2\nscroll1=0\nscroll2=0\nscroll3=0\ntime=3\nnext=2\n"
                             "[page_2]\nligne0=Commun\nligne1=Deux\nligne2=\nligne3=\n"
                             "scroll0=2\nscroll1=1\nscroll2=0\nscroll3=0\ntime=0\nnext=0\n";

// A main window on settings of its own, with the panel, boxes, dialog and exit recorded.
struct Shell {
    TempDir dir;
    RecordingMessageBoxes boxes;
    FakePanel* panel = nullptr; // made by the window at start-up
    QString chosenProfile;
    QString openedIn;      // where the last Open dialog started
    int visiblePauses = 0; // start-up pauses with the window on screen
    int ends = 0;
    bool trayAvailable = false;
    std::unique_ptr<F_Interface> window;

    explicit Shell(const QByteArray& settings = kSettings, bool fakePanel = true) {
        if (!settings.isNull()) {
            dir.write("param.ini", settings);
        }
        ShellEnvironment env;
        env.settingsDir = dir.path();
        env.executableDir = dir.path();
        env.boxes = &boxes;
        env.chooseProfile = [this](QWidget*, const QString& folder) {
            openedIn = folder;
            return chosenProfile;
        };
        env.pauseAndRepaint = [this](QWidget* shown) { visiblePauses += shown->isVisible(); };
        env.endProgram = [this] { ++ends; };
        env.trayAvailable = [this] { return trayAvailable; };
        env.mbmBlockName = QStringLiteral("/relayeur-test-no-such-block");
        env.lineMessageDir = dir.file("run");
        if (fakePanel) {
            env.makePanel = [this](const DisplayConfig&) {
                auto made = std::make_unique<FakePanel>();
                panel = made.get();
                return made;
            };
        }
        window = std::make_unique<F_Interface>(env);
    }

    template <typename T> T* find(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QStringList log() {
        QStringList lines;
        auto* list = find<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i) {
            lines.append(list->item(i)->text());
        }
        return lines;
    }
    QString socket(const QString& name) { return dir.file("run/" + name); }
    void openTwoPages() {
        chosenProfile = dir.write("deux.tlcd", kTwoPages);
        window->m_fic_ouvrir_Click();
    }
    QStringList recentNames() {
        QStringList names;
        auto* combo = find<QComboBox>("lstProfile");
        for (int i = 0; i < combo->count(); ++i) {
            names.append(combo->itemText(i));
        }
        return names;
    }
};

} // namespace

TEST(F_Interface, StartUpFillsTheLogAndLeavesThePanelUntouched) {
    Shell s;
    s.dir.write("param.ini", kSettings + "[recent_profile]\n1=/a/b/deux.tlcd\n2=un.tlcd\n");
    s.window->Form_Load();
    const QStringList log = s.log();
    EXPECT_EQ(log.size(), 26);
    ASSERT_EQ(s.boxes.boxes.size(), 1); // Motherboard Monitor is not running
    EXPECT_EQ(s.boxes.boxes[0].title, "Relayeur");
    EXPECT_EQ(s.recentNames(), QStringList({"deux.tlcd", "un.tlcd"}));
    EXPECT_EQ(s.find<QLabel>("Label2")->text(), QString::number(s.window->winId(), 16).toUpper());
    EXPECT_FALSE(s.window->engine().Timer1().isEnabled()) << "showing refresh must not start the feed";
    EXPECT_EQ(s.window->engine().Timer1().interval(), 300);
    EXPECT_EQ(s.find<QSlider>("Slider1")->value(), 300);
    EXPECT_TRUE(s.window->engine().Timer2().isEnabled());
    EXPECT_FALSE(s.window->engine().Timer2().isRunning());
    EXPECT_FALSE(s.window->engine().state().flags.HLAvailable);
    EXPECT_EQ(s.panel->inits, 0);

    // A double click shows the line in full.
    auto* list = s.find<QListWidget>("List1");
    list->setCurrentRow(9);
    Q_EMIT list->itemDoubleClicked(list->item(9));
    ASSERT_EQ(s.boxes.boxes.size(), 2);
    EXPECT_EQ(s.boxes.boxes[1].title, "Information");
    EXPECT_EQ(s.boxes.boxes[1].text, "Détail de la ligne : \n\rRefresh = 300");
    EXPECT_EQ(s.boxes.boxes[1].icon, MessageIcon::Information);

    Shell none{QByteArray()};
    none.window->Form_Load();
    EXPECT_EQ(none.log().size(), 4);
    ASSERT_EQ(none.boxes.boxes.size(), 1);
    EXPECT_EQ(none.boxes.boxes[0].text, "Erreur lors du chargement du fichier param.ini");
    EXPECT_EQ(none.window->engine().Timer1().interval(), 0);
    none.window->Slider1_Change(0);
    EXPECT_FALSE(none.window->engine().Timer1().isRunning()) << "an interval of 0 never fires";

    Shell noSockets;
    noSockets.dir.write("run", "not a directory");
    noSockets.window->Form_Load();
    EXPECT_TRUE(noSockets.log()[0].startsWith("Messages des autres programmes indisponibles : " +
                                              noSockets.dir.file("run")))
        << noSockets.log()[0].toStdString();
    EXPECT_EQ(noSockets.log().size(), 27) << "then the usual start-up log";
    EXPECT_TRUE(noSockets.window->engine().lineMessages().socketPaths().isEmpty());
}

TEST(F_Interface, FileOpenLoadsThePageStartsRotationAndUpdatesTheRecentList) {
    Shell s;
    s.window->Form_Load();
    s.openTwoPages();
    EXPECT_TRUE(s.find<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(s.log().last(), QString(49, '-'));
    EXPECT_TRUE(s.log().contains("Chargement du fichier de commande -> OK"));
    EXPECT_EQ(s.window->engine().state().pages.CurrentLines[1].Text, QByteArray("Un"));
    EXPECT_EQ(s.window->engine().Timer2().interval(), 3000);
    EXPECT_TRUE(s.window->engine().Timer2().isRunning());
    EXPECT_EQ(s.recentNames(), QStringList({"deux.tlcd"}));

    // The same file again goes on top once more; a cancelled dialog changes nothing.
    s.window->m_fic_ouvrir_Click();
    s.chosenProfile.clear();
    s.window->m_fic_ouvrir_Click();
    EXPECT_EQ(s.recentNames(), QStringList({"deux.tlcd", "deux.tlcd"}));

    // The dialog opens where the last profile came from.
    s.chosenProfile = s.dir.write("autre/trois.tlcd", kTwoPages);
    s.window->m_fic_ouvrir_Click();
    EXPECT_EQ(s.openedIn, s.dir.path());
    s.window->m_fic_ouvrir_Click();
    EXPECT_EQ(s.openedIn, s.dir.file("autre"));
    Shell fresh;
    fresh.window->Form_Load();
    fresh.window->m_fic_ouvrir_Click();
    EXPECT_EQ(fresh.openedIn, fresh.dir.path()) << "no profile yet: the settings folder";

    // A page change keeps the scrolling line that both pages share.
    s.window->engine().state().pages.CurrentLines[0].ScrollPos = 5;
    Q_EMIT s.window->engine().Timer2().timeout();
    EXPECT_EQ(s.window->engine().state().pages.CurrentLines[0].ScrollPos, 5);
    EXPECT_EQ(s.window->engine().state().pages.CurrentLines[1].Text, QByteArray("Deux"));
    EXPECT_FALSE(s.window->engine().Timer2().isRunning()) << "page 2 has time 0 and stays";
}

TEST(F_Interface, ReadOnlySettingsFolderStillLoadsTheProfileAndLosesNothing) {
    Shell s;
    s.window->Form_Load();
    s.openTwoPages();
    const QString other = s.dir.write("autre.tlcd", kTwoPages);
    const QByteArray settings = s.dir.read("param.ini");

    ReadOnlyDir readOnly(s.dir.path());
    if (!readOnly.made()) {
        GTEST_SKIP() << "this file system cannot make a folder read-only for this user";
    }
    s.chosenProfile = other;
    s.window->m_fic_ouvrir_Click();
    EXPECT_TRUE(s.log().contains("Impossible d'écrire " + s.dir.file("param.ini") +
                                 " : la liste des profils récents n'est pas mise à jour"));
    EXPECT_TRUE(s.log().contains("Chargement du fichier de commande -> " + other));
    EXPECT_TRUE(s.window->engine().Timer2().isRunning()) << "the profile runs all the same";
    EXPECT_EQ(s.dir.read("param.ini"), settings);
    EXPECT_EQ(s.recentNames(), QStringList({"deux.tlcd"}));
    EXPECT_EQ(QDir(s.dir.path()).entryList(QDir::Files).size(), 3) << "no stray temporary file";
}

TEST(F_Interface, RecentListOpensTheFullPathAndARefusedProfileChangesNothing) {
    Shell s;
    s.window->Form_Load();
    s.window->Command2_Click();
    EXPECT_EQ(s.log().last(), "Aucun profil choisi dans la liste : rien n'est chargé");
    s.chosenProfile = s.dir.write("vide.tlcd", "[param]\nplein=#\n");
    s.window->m_fic_ouvrir_Click();
    EXPECT_TRUE(s.log().contains("Chargement du fichier de commande -> ANNULÉ"));
    EXPECT_TRUE(s.recentNames().isEmpty());
    EXPECT_FALSE(s.find<QPushButton>("Command1")->isEnabled());
    s.window->Command1_Click(); // as --start does after a refused profile
    EXPECT_EQ(s.panel->inits, 0);
    EXPECT_FALSE(s.window->engine().Timer1().isEnabled());
    EXPECT_EQ(s.find<QPushButton>("Command1")->text(), kSendCaption);

    const QString path = s.dir.write("deux.tlcd", kTwoPages);
    s.dir.write("param.ini", kSettings + "[recent_profile]\n1=" + path.toUtf8() + "\n");
    s.window->RecentProfile();
    s.window->Command2_Click();
    EXPECT_TRUE(s.log().contains("Chargement du fichier de commande -> " + path));
    EXPECT_TRUE(s.find<QPushButton>("Command1")->isEnabled());
}

TEST(F_Interface, SliderAndStartButtonStartTheFeedAndStoppingLeavesTheBanner) {
    Shell s;
    s.window->Form_Load();
    auto* command1 = s.find<QPushButton>("Command1");
    s.find<QSlider>("Slider1")->setValue(800);
    s.openTwoPages();
    EXPECT_TRUE(s.window->engine().Timer1().isRunning());
    EXPECT_EQ(s.window->engine().Timer1().interval(), 800);
    EXPECT_EQ(s.panel->inits, 1) << "the panel is set up before the first refresh";
    EXPECT_EQ(command1->text(), kSendCaption) << "the slider leaves the button as it is";

    s.window->Command1_Click();
    EXPECT_EQ(s.panel->inits, 2);
    EXPECT_TRUE(s.window->engine().Timer1().isRunning());
    EXPECT_EQ(command1->text(), kStopCaption);

    s.window->Command1_Click();
    EXPECT_EQ(s.panel->inits, 3);
    EXPECT_FALSE(s.window->engine().Timer1().isEnabled());
    EXPECT_EQ(s.panel->written, QByteArrayList({kStopBanner}));
    EXPECT_EQ(command1->text(), kSendCaption);
}

TEST(F_Interface, EveryWayOutInitialisesThePanelOnceAndEnds) {
    for (const char* way : {"quit menu", "tray menu", "close box"}) {
        Shell s;
        s.trayAvailable = true;
        s.window->Form_Load();
        s.openTwoPages();
        s.window->Command1_Click();
        ASSERT_TRUE(s.window->engine().Timer1().isRunning());
        const int before = s.panel->inits;
        ASSERT_TRUE(QFile::exists(s.socket("default")));
        if (std::string(way) == "quit menu") {
            s.find<QAction>("m_fic_quitter")->trigger();
        } else if (std::string(way) == "tray menu") {
            s.find<QAction>("mnuSystemTrayItem_1")->trigger();
        } else {
            s.window->close();
        }
        s.window->close(); // a second way out after the first has no further effect
        EXPECT_EQ(s.panel->inits, before + 1) << way;
        EXPECT_EQ(s.ends, 1) << way;
        EXPECT_FALSE(s.window->tray().isShown()) << way;
        EXPECT_FALSE(s.window->engine().Timer1().isRunning()) << way;
        EXPECT_FALSE(QFile::exists(s.socket("default"))) << way;
        EXPECT_FALSE(QFile::exists(s.socket(s.find<QLabel>("Label2")->text()))) << way;
    }
}

TEST(F_Interface, MinimiseHidesBehindTheTrayAndOnlyItsMenuBringsItBack) {
    Shell s;
    s.trayAvailable = true;
    s.window->Form_Load();
    ASSERT_TRUE(s.window->tray().isShown());
    EXPECT_EQ(s.window->tray().icon().toolTip(), "Dusk Within");
    QMenu* menu = s.window->tray().icon().contextMenu();
    ASSERT_EQ(menu, s.find<QMenu>("mnuSystemTray"));
    EXPECT_FALSE(s.window->menuBar()->actions().contains(menu->menuAction()));
    for (int i = 0; i < 2; ++i) {
        s.window->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_FALSE(s.window->isVisible());
        for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                            QSystemTrayIcon::MiddleClick}) {
            Q_EMIT s.window->tray().icon().activated(reason);
            QCoreApplication::processEvents();
            EXPECT_FALSE(s.window->isVisible()) << "reason " << reason;
        }
        s.find<QAction>("mnuSystemTrayItem_0")->trigger();
        EXPECT_TRUE(s.window->isVisible());
        EXPECT_FALSE(s.window->isMinimized());
    }
    EXPECT_TRUE(s.window->tray().isShown());
    EXPECT_EQ(s.ends, 0);
}

TEST(F_Interface, WithoutNotificationAreaTheWindowStaysInTheTaskbar) {
    Shell s(QByteArray(kSettings).replace("TypeLCD=2", "TypeLCD=1"), false);
    s.window->Form_Load(true);
    EXPECT_EQ(s.visiblePauses, 0) << "minimised only once the panel is in: a window manager "
                                     "restores a minimised window that grows";
    EXPECT_FALSE(s.window->tray().isShown());
    EXPECT_TRUE(s.window->isVisible());
    EXPECT_TRUE(s.window->isMinimized()) << "a hidden start minimises instead";
    s.find<QAction>("mnuSystemTrayItem_0")->trigger();
    EXPECT_FALSE(s.window->isMinimized());
    s.window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(s.window->isVisible());
}

TEST(F_Interface, OnScreenPanelShowsThePageAndSettingsOutOfRangeAreReported) {
    QByteArray settings = kSettings;
    settings.replace("TypeLCD=2", "TypeLCD=1").replace("L=4", "L=7");
    Shell s(settings, false);
    s.window->Form_Load();
    ASSERT_EQ(s.log().size(), 27);
    EXPECT_EQ(s.log()[26], "Lignes = 7 : l'afficheur a de 1 à 4 lignes, 4 sont utilisées");
    auto* screen = s.find<LcdWidget>("lcdScreen");
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_FALSE(screen->model().row(0).controller.displayOn())
        << "nothing is sent before the start button";

    s.openTwoPages();
    s.window->Command1_Click();
    Q_EMIT s.window->engine().Timer1().timeout();
    EXPECT_EQ(screen->model().line(0), "Commun" + QByteArray(14, ' '));
    EXPECT_EQ(screen->model().line(1), "Un" + QByteArray(18, ' '));

    s.window->Command1_Click();
    EXPECT_EQ(screen->model().line(0), kStopBanner) << "stopping leaves the banner";
    s.window->close();
    EXPECT_EQ(screen->model().line(0), QByteArray(20, ' ')) << "every way out resets the panel";

    settings = kSettings;
    settings.replace("TypeLCD=2", "TypeLCD=9");
    Shell unknown(settings);
    unknown.window->Form_Load();
    EXPECT_EQ(unknown.log().last(), "TypeLCD = 9 ne désigne aucun afficheur (1 à l'écran, 2 série, "
                                    "3 parallèle) : rien ne sera affiché");
}

TEST(F_Interface, LineMessagesReplaceALineUntilTheNextPageAndAnythingElseChangesNothing) {
    Shell s;
    s.window->Form_Load();
    s.openTwoPages();
    PageModel& pages = s.window->engine().state().pages;
    const auto lines = pages.CurrentLines;
    const auto templates = pages.LineTemplate;
    // Held while messages come over the sockets, so that no page comes between two of them.
    s.window->engine().Timer2().setEnabled(false);

    LineMessageClient byHandle;
    ASSERT_TRUE(byHandle.connectTo(s.socket(s.find<QLabel>("Label2")->text())));
    EXPECT_EQ(byHandle.send(4, "Salut30"), linemessage::kIgnored);
    EXPECT_EQ(byHandle.send(3, "Salut34"), linemessage::kIgnored);
    for (int l = 0; l < kLinesPerPage; ++l) {
        EXPECT_EQ(fields(pages.CurrentLines[l]), fields(lines[l])) << l;
        EXPECT_EQ(pages.LineTemplate[l], templates[l]) << l;
    }
    EXPECT_EQ(s.window->engine().Timer2().interval(), 3000);

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
    EXPECT_EQ(s.window->engine().Timer2().interval(), 10);
    EXPECT_FALSE(s.window->engine().Timer2().isEnabled()) << "a stopped page timer stays stopped";

    // A running page timer brings the next page ten milliseconds later, with its own lines.
    s.window->engine().Timer2().setInterval(3000);
    s.window->engine().Timer2().setEnabled(true);
    EXPECT_EQ(s.window->engine().RelayWindowProc(3, "Fin03"), linemessage::kTaken);
    EXPECT_TRUE(s.window->engine().Timer2().isRunning());
    EXPECT_EQ(s.window->engine().Timer2().interval(), 10);
    QSignalSpy tick(&s.window->engine().Timer2(), &IntervalTimer::timeout);
    ASSERT_TRUE(tick.wait(2500)) << "sooner than the 3 s it had";
    EXPECT_EQ(pages.CurrentLines[0].Text, QByteArray("Commun"));
    EXPECT_EQ(pages.CurrentLines[1].Text, QByteArray("Deux"));
    EXPECT_TRUE(pages.CurrentLines[2].Text.isEmpty());
    EXPECT_TRUE(pages.CurrentLines[3].Text.isEmpty());
}

TEST(F_Interface, AboutMenuShowsOneModelessAboutBox) {
    Shell s;
    s.window->Form_Load();
    EXPECT_EQ(s.window->aboutBox(), nullptr) << "made on first use";
    s.find<QAction>("m_about")->trigger();
    frmAbout* about = s.window->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());

    about->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_FALSE(about->isVisible());
    s.find<QAction>("m_about")->trigger();
    s.find<QAction>("m_about")->trigger();
    EXPECT_EQ(s.window->aboutBox(), about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(s.window->findChildren<frmAbout*>().size(), 1);
}

TEST(F_Interface, RefreshTakesMediaAndGameValuesFromTheMachine) {
    Shell s;
    s.dir.write("seti/Work0/state.sah",
                "<state>\nncpus=1\ncpu=1\nbest=2\nprog=0.523456\n</state>\n");
    QByteArray settings = kSettings;
    s.dir.write("param.ini",
                settings.replace("rep_seti=/seti/", "rep_seti=" + s.dir.file("seti/").toUtf8()));
    s.window->Form_Load();
    s.chosenProfile = s.dir.write(
        "media.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=SETI %%seti_progress%\n"
                      "ligne1=%%HL_FPS fps\nligne2=[%%winamp_titre]\nligne3=\nscroll0=0\n"
                      "scroll1=0\nscroll2=0\nscroll3=0\ntime=0\nnext=0\n");
    s.window->m_fic_ouvrir_Click();
    s.window->Command1_Click();
    Q_EMIT s.window->engine().Timer1().timeout();
    ASSERT_GE(s.panel->written.size(), 6);
    EXPECT_EQ(s.panel->written[1].trimmed(), "SETI 52%");
    EXPECT_EQ(s.panel->written[3].trimmed(), "%%HL_FPS fps") << "no Half-Life library here";
    EXPECT_EQ(s.panel->written[5].trimmed(), "[]") << "no media player: an empty title";
}

TEST(QtTranslations, QtsOwnDialogsSpeakTheUsersLanguage) {
    const auto french = installQtTranslations(QLocale(QLocale::French, QLocale::France));
    ASSERT_NE(french, nullptr) << "Qt's French translations (qt6-translations-l10n)";
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Annuler");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&'), "Ouvrir");
}
