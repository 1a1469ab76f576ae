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
#include "support/ShellSettings.h"
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

    explicit Shell(const QByteArray& settings = kShellSettings, bool fakePanel = true) {
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

TEST(F_Interface, StartUpShowsTheRecentProfilesTheHandleAndTheRefresh) {
    Shell s;
    s.dir.write("param.ini", kShellSettings + "[recent_profile]\n1=/a/b/deux.tlcd\n2=un.tlcd\n");
    s.window->Form_Load();
    EXPECT_EQ(s.log().size(), 26);
    EXPECT_EQ(s.recentNames(), QStringList({"deux.tlcd", "un.tlcd"}));
    EXPECT_EQ(s.find<QLabel>("Label2")->text(), QString::number(s.window->winId(), 16).toUpper());
    EXPECT_TRUE(QFile::exists(s.socket(s.find<QLabel>("Label2")->text())));
    EXPECT_EQ(s.find<QSlider>("Slider1")->value(), 300);
    EXPECT_FALSE(s.window->engine().Timer1().isEnabled())
        << "showing refresh must not start the feed";
    EXPECT_EQ(s.find<QPushButton>("Command1")->text(), kSendCaption);
    EXPECT_FALSE(s.find<QPushButton>("Command1")->isEnabled());

    // A double click shows the line in full.
    auto* list = s.find<QListWidget>("List1");
    list->setCurrentRow(9);
    Q_EMIT list->itemDoubleClicked(list->item(9));
    ASSERT_EQ(s.boxes.boxes.size(), 2);
    EXPECT_EQ(s.boxes.boxes[1].title, "Information");
    EXPECT_EQ(s.boxes.boxes[1].text, "Détail de la ligne : \n\rRefresh = 300");
    EXPECT_EQ(s.boxes.boxes[1].icon, MessageIcon::Information);
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
    s.dir.write("param.ini", kShellSettings + "[recent_profile]\n1=" + path.toUtf8() + "\n");
    s.window->RecentProfile();
    s.window->Command2_Click();
    EXPECT_TRUE(s.log().contains("Chargement du fichier de commande -> " + path));
    EXPECT_TRUE(s.find<QPushButton>("Command1")->isEnabled());
}

TEST(F_Interface, EveryWayOutInitialisesThePanelOnceAndEnds) {
    for (const char* way : {"quit menu", "tray menu", "close box"}) {
        Shell s;
        s.trayAvailable = true;
        s.window->Form_Load();
        s.openTwoPages();
        s.window->Command1_Click();
        ASSERT_TRUE(s.window->engine().Timer1().isRunning());
        EXPECT_EQ(s.find<QPushButton>("Command1")->text(), kStopCaption);
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
    Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=1"), false);
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
    QByteArray settings = kShellSettings;
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

    settings = kShellSettings;
    settings.replace("TypeLCD=2", "TypeLCD=9");
    Shell unknown(settings);
    unknown.window->Form_Load();
    EXPECT_EQ(unknown.log().last(), "TypeLCD = 9 ne désigne aucun afficheur (1 à l'écran, 2 série, "
                                    "3 parallèle, 4 LCDd) : rien ne sera affiché");
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

TEST(QtTranslations, QtsOwnDialogsSpeakTheUsersLanguage) {
    const auto french = installQtTranslations(QLocale(QLocale::French, QLocale::France));
    ASSERT_NE(french, nullptr) << "Qt's French translations (qt6-translations-l10n)";
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Annuler");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&'), "Ouvrir");
}
