// The main window: what it adds to the engine, its controls, menus and tray icon.
#include "about/frmAbout.h"
#include "drivers/OnScreenPanel.h"
#include "shell/LcdWidget.h"
#include "shell/ProfileEditor.h"
#include "shell/QtTranslations.h"
#include "shell/WidgetMessageBoxes.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <typename T> T* find(const Shell& s, const char* name) {
    return s.window->findChild<T*>(QString::fromLatin1(name));
}

void open(Shell& s, const QString& profile) { // empty: the dialog is cancelled
    s.chosenProfile = profile;
    find<QAction>(s, "m_fic_ouvrir")->trigger();
}

// Acts on the modal window once it shows, as the user would: the box blocks its caller until then.
void whenShown(const std::function<void(QWidget*)>& act) {
    auto* wait = new QTimer;
    QObject::connect(wait, &QTimer::timeout, [wait, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            wait->deleteLater();
            wait->stop();
            act(modal);
        }
    });
    wait->start(10);
}

} // namespace

TEST(F_Interface, ShowsTheRecentProfilesTheHandleTheRefreshAndOneAboutBox) {
    Shell s(kShellSettings + "[recent_profile]\n1=/a/b/deux.tlcd\n2=un.tlcd\n");
    F_Interface& w = s.startWindow();
    EXPECT_EQ(w.windowTitle(), "TLCD - Relayeur");
    auto* recent = find<QComboBox>(s, "lstProfile");
    EXPECT_EQ(std::tuple(recent->count(), recent->itemText(0)), std::tuple(2, "deux.tlcd"));
    const QString handle = find<QLabel>(s, "Label2")->text();
    EXPECT_EQ(handle, QString::number(w.winId(), 16).toUpper());
    EXPECT_TRUE(QFile::exists(s.dir.file("run/" + handle))) << "the socket bears the handle";
    EXPECT_EQ(find<QPushButton>(s, "Command1")->text(), sendCaption());
    EXPECT_FALSE(find<QPushButton>(s, "Command1")->isEnabled());
    open(s, QString());
    EXPECT_EQ(s.openedIn, "/a/b") << "no profile yet: the folder of the newest recent one";

    // A double click shows the selected line, the newest, in full.
    Q_EMIT find<QListWidget>(s, "List1")->itemDoubleClicked(nullptr);
    EXPECT_EQ(s.boxes.boxes.last().text, "Détail de la ligne : \n\rMother Board Monitor -> ABSENT");

    // The slider shows the settings' refresh without starting the feed; moved, it sets it.
    EXPECT_EQ(find<QSlider>(s, "Slider1")->value(), 300);
    EXPECT_FALSE(w.engine().Timer1().isEnabled());
    find<QSlider>(s, "Slider1")->setValue(450);
    EXPECT_EQ(find<QLabel>(s, "lblRefresh")->text(), "Rafraîchissement : 450 ms");
    EXPECT_TRUE(w.engine().Timer1().isRunning() && w.engine().Timer1().interval() == 450);

    find<QAction>(s, "m_about")->trigger();
    w.aboutBox()->close();
    find<QAction>(s, "m_about")->trigger(); // the same box again, modeless
    EXPECT_TRUE(w.aboutBox()->isVisible() && !w.aboutBox()->isModal());
    EXPECT_EQ(w.findChildren<frmAbout*>().size(), 1);
}

TEST(F_Interface, AProfileOpenedGoesOnTopOfTheRecentListWhichOpensItsFullPath) {
    Shell s;
    F_Interface& w = s.startWindow();
    find<QPushButton>(s, "Command2")->click();
    EXPECT_EQ(find<QListWidget>(s, "List1")->currentItem()->text(),
              "Aucun profil choisi dans la liste : rien n'est chargé");
    auto* recent = find<QComboBox>(s, "lstProfile");
    open(s, s.dir.write("vide.tlcd", "[param]\nplein=#\n"));
    w.Command1_Click(); // pressed with nothing loaded
    EXPECT_EQ(std::tuple(s.panel->resets, recent->count()), std::tuple(0, 0))
        << "a refused profile changes nothing";

    const QString deux = s.dir.write("deux.tlcd", kProfile);
    open(s, deux);
    EXPECT_EQ(s.openedIn, s.dir.path()) << "no profile at all: the settings folder";
    EXPECT_TRUE(find<QPushButton>(s, "Command1")->isEnabled());
    open(s, deux); // the same file again goes on top once more; a cancelled dialog changes nothing
    open(s, QString());
    open(s, s.dir.write("autre/trois.tlcd", kProfile));
    open(s, QString());
    EXPECT_EQ(s.openedIn, s.dir.file("autre")) << "where the last profile came from";
    EXPECT_EQ(std::tuple(recent->count(), recent->itemText(0), recent->itemText(2)),
              std::tuple(3, "trois.tlcd", "deux.tlcd"));
    recent->setCurrentIndex(1);
    find<QPushButton>(s, "Command2")->click();
    EXPECT_EQ(w.engine().lastProfile(), deux);
    EXPECT_EQ(recent->itemText(0), "trois.tlcd") << "the list keeps its order";
}

TEST(F_Interface, WithReprendreAProfileOpenedFromTheRecentListGoesOnTop) {
    Shell s(kShellSettings + "reprendre=1\n");
    s.startWindow();
    open(s, s.dir.write("un.tlcd", kProfile));
    open(s, s.dir.write("deux.tlcd", kProfile));
    auto* recent = find<QComboBox>(s, "lstProfile");
    recent->setCurrentIndex(1);
    find<QPushButton>(s, "Command2")->click();
    EXPECT_EQ(std::tuple(recent->count(), recent->itemText(0), recent->itemText(1)),
              std::tuple(2, "un.tlcd", "deux.tlcd"));
}

TEST(F_Interface, EveryWayOutInitialisesThePanelOnceAndEnds) {
    for (const char* way : {"m_fic_quitter", "mnuSystemTrayItem_1", "the close box"}) {
        Shell s;
        s.trayAvailable = true;
        F_Interface& w = s.startWindow();
        open(s, s.dir.write("deux.tlcd", kProfile));
        find<QPushButton>(s, "Command1")->click();
        EXPECT_EQ(find<QPushButton>(s, "Command1")->text(), stopCaption());
        const int before = s.panel->resets;
        if (auto* menuItem = find<QAction>(s, way)) {
            menuItem->trigger();
        }
        w.close(); // after a menu item, a second way out that changes nothing
        EXPECT_EQ(s.panel->resets, before + 1) << way;
        EXPECT_EQ(s.ends, 1) << way;
        EXPECT_FALSE(w.tray().isShown()) << way;
        EXPECT_FALSE(QFile::exists(s.dir.file("run/default"))) << way;
    }
}

// During start-up the user's clicks are dropped and a way out waits for its end.
TEST(F_Interface, DuringStartUpClicksAreDroppedAndAWayOutWaitsForTheEnd) {
    Shell s;
    s.trayAvailable = true;
    const auto nothingChosen = [&] {
        return find<QListWidget>(s, "List1")
            ->findItems("Aucun profil choisi", Qt::MatchStartsWith)
            .size();
    };
    s.duringPause = [&] {
        QTest::mouseClick(find<QPushButton>(s, "Command2"), Qt::LeftButton);
        find<QAction>(s, "m_fic_quitter")->trigger();
        EXPECT_EQ(std::tuple(nothingChosen(), s.ends, s.window->tray().isShown()),
                  std::tuple(0, 0, true));
    };
    F_Interface& w = s.startWindow();
    EXPECT_EQ(std::tuple(s.ends, w.tray().isShown()), std::tuple(1, false));
    QTest::mouseClick(find<QPushButton>(s, "Command2"), Qt::LeftButton);
    EXPECT_EQ(nothingChosen(), 1) << "clicks go through once start-up is over";
}

// A hidden start, behind the tray icon or without one in the taskbar, with the panel on screen.
TEST(F_Interface, MinimisedTheWindowHidesBehindTheTrayIconElseStaysInTheTaskbar) {
    for (const bool tray : {true, false}) {
        Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=1"));
        s.trayAvailable = tray;
        F_Interface& w = s.startWindow(true);
        EXPECT_EQ(std::tuple(w.tray().isShown(), w.isMinimized()), std::tuple(tray, !tray));
        EXPECT_EQ(w.tray().icon().toolTip(), "Dusk Within");
        for (int i = 0; i < 2; ++i) {
            w.tray().icon().contextMenu()->actions()[0]->trigger();
            EXPECT_TRUE(w.isVisible() && !w.isMinimized()) << tray;
            w.showMinimized();
            for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
                Q_EMIT w.tray().icon().activated(reason);
            }
            QCoreApplication::processEvents();
            EXPECT_EQ(w.isVisible(), !tray) << "only the tray menu brings the window back";
        }

        open(s, s.dir.write("deux.tlcd", kProfile));
        find<QPushButton>(s, "Command1")->click();
        Q_EMIT w.engine().Timer1().timeout();
        EXPECT_EQ(find<LcdWidget>(s, "lcdScreen")->model().line(1), "Un" + QByteArray(18, ' '));
    }
}

TEST(QtTranslations, QtsOwnDialogsSpeakTheUsersLanguage) {
    const auto french = installQtTranslations(QLocale(QLocale::French, QLocale::France));
    ASSERT_NE(french, nullptr) << "Qt's French translations (qt6-translations-l10n)";
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Annuler");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&'), "Ouvrir");
}

TEST(ListLog, TheListKeepsTheLastThousandLinesAndTheEchoHasThemAll) {
    QListWidget list;
    QStringList echoed;
    ListLog log(&list, [&echoed](const QString& line) { echoed << line; });
    for (int i = 1; i <= 1005; ++i) {
        log.add(QStringLiteral("ligne %1").arg(i));
    }
    log.selectLast();
    EXPECT_EQ(list.count(), 1000);
    EXPECT_EQ(list.item(0)->text(), "ligne 6");
    EXPECT_EQ(list.currentItem()->text(), "ligne 1005");
    EXPECT_EQ(echoed.size(), 1005);
}

// The boxes and file dialogs the program shows when no test stands in for them.
TEST(F_Interface, TheBoxesAndFileDialogsOnScreenShowWhatTheyAreAskedAndAnswerIt) {
    WidgetMessageBoxes boxes;
    for (const auto& [icon, shown] : {std::pair{MessageIcon::None, QMessageBox::NoIcon},
                                      {MessageIcon::Information, QMessageBox::Information},
                                      {MessageIcon::Exclamation, QMessageBox::Warning},
                                      {MessageIcon::Critical, QMessageBox::Critical}}) {
        QStringList seen;
        whenShown([&seen](QWidget* box) {
            seen << box->windowTitle() << static_cast<QMessageBox*>(box)->text()
                 << QString::number(static_cast<QMessageBox*>(box)->icon());
            QTest::keyClick(box, Qt::Key_Return);
        });
        boxes.show("Titre", "Texte", icon);
        EXPECT_EQ(seen, (QStringList{"Titre", "Texte", QString::number(shown)}));
    }
    WidgetQuestionBoxes questions;
    const QStringList answers{"&Oui", "&Non", "Annuler"};
    EXPECT_EQ(questions.ask("Titre", "Rien ?", {}), -1) << "nothing to answer";
    for (const auto& [pressed, chosen] : {std::pair{Qt::Key_Return, 0}, {Qt::Key_Escape, 2}}) {
        whenShown([key = pressed](QWidget* box) { QTest::keyClick(box, key); });
        EXPECT_EQ(questions.ask("Titre", "Oui ?", answers), chosen)
            << "Return: the first, Escape: the last";
    }
    whenShown([](QWidget* box) {
        for (QAbstractButton* answer : static_cast<QMessageBox*>(box)->buttons()) {
            if (answer->text() == "&Non") {
                answer->click();
            }
        }
    });
    EXPECT_EQ(questions.ask("Titre", "Non ?", answers), 1);

    Shell s;
    s.env.chooseProfile = nullptr;
    F_Interface& w = s.startWindow();
    QStringList dialogs;
    const auto cancel = [&dialogs](QWidget* dialog) {
        dialogs << dialog->windowTitle() + " " +
                       static_cast<QFileDialog*>(dialog)->nameFilters().join(";");
        static_cast<QFileDialog*>(dialog)->reject();
    };
    whenShown(cancel);
    find<QAction>(s, "m_fic_ouvrir")->trigger();
    w.editProfile({});
    whenShown(cancel);
    w.profileEditor()->findChild<QPushButton*>("saveAsButton")->click();
    EXPECT_EQ(dialogs, (QStringList{"Ouvrir un profil Fichiers Relayeur (*.tlcd)",
                                    "Enregistrer le profil Fichiers Relayeur (*.tlcd)"}));
}
