// File > « Détecter l'afficheur… »: the search away from the window's thread, a backpack tried
// under each wiring from its buttons, and the settings of the one that reads right written.
#include "shell/DetectDialog.h"

#include "EmulatedDevices.h"
#include "platform/USEINI.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Machine {
    TempDir dir;
    QString bus = dir.write("dev/i2c-3", {});
    QString settings = dir.write("param.ini", "[parametres]\nTypeLCD=1\nC=16\nL=2\n");
    Machine() {
        emulated::reset();
        emulated::addI2cBus(bus);
    }
    ~Machine() { emulated::reset(); }
    SearchPlaces places() const {
        SearchPlaces places;
        places.dirs = DeviceDirs::under(dir.path());
        places.lcddServer = "127.0.0.1:1";
        return places;
    }
};

QPushButton* button(QWidget& dialog, const QString& text, int index = 0) {
    QList<QPushButton*> found;
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            found << b;
        }
    }
    return found.value(index);
}

} // namespace

TEST(DetectDialog, TriesEachWiringAndWritesTheOneThatReadsRight) {
    Machine machine;
    emulated::Module& module =
        emulated::addBackpack(machine.bus, 0x27, *emulated::backpackWiring(3), 16, 2);
    DetectDialog dialog(machine.places(), machine.settings);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy finished(&dialog, &DetectDialog::searchFinished);
    QSignalSpy written(&dialog, &DetectDialog::settingsWritten);
    dialog.search();
    EXPECT_TRUE(dialog.searching()) << "the search runs on a thread of its own";
    ASSERT_TRUE(finished.wait(10000));
    auto* list = dialog.findChild<QListWidget*>("found");
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().startsWith("I2C " + machine.bus + ", adresse 0x27"));

    // Pressing Enter on the list uses the backpack, which is tried under the first wiring.
    EXPECT_TRUE(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_NE(module.line(0), QByteArray("Relayeur").leftJustified(16));
    EXPECT_TRUE(button(dialog, "Ça s'affiche bien", 0)->hasFocus());
    QPushButton* fitsThird = button(dialog, "Ça s'affiche bien", 2);
    ASSERT_NE(fitsThird, nullptr);
    EXPECT_FALSE(fitsThird->isEnabled()) << "not tried yet";
    button(dialog, "&3 Essayer")->click();
    EXPECT_EQ(module.line(0), QByteArray("Relayeur").leftJustified(16));
    EXPECT_EQ(module.line(1), QByteArray("3 : D4-D7 P0-P3,"));
    ASSERT_TRUE(fitsThird->isEnabled());
    EXPECT_TRUE(fitsThird->hasFocus()) << "Enter answers for the wiring just tried";
    fitsThird->click();
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(GetIni("parametres", "TypeLCD", "", machine.settings), "5");
    EXPECT_EQ(GetIni("ports", "brochage", "", machine.settings), "3");
    EXPECT_EQ(GetIni("ports", "adresse", "", machine.settings), "0x27");
}

// A backpack that no wiring fits, or that stops answering, gets nothing written; settings that
// cannot be written say so.
TEST(DetectDialog, NothingIsWrittenWhenNoWiringFitsAndAFailedWriteSaysWhy) {
    Machine machine;
    DetectDialog dialog(machine.places(), machine.settings);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy finished(&dialog, &DetectDialog::searchFinished);
    auto* status = dialog.findChild<QLabel*>("status");
    dialog.search();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(status->text(), "Aucun afficheur trouvé.");
    emulated::addBackpack(machine.bus, 0x27, *emulated::backpackWiring(3), 16, 2);
    dialog.findChild<QPushButton*>("searchAgain")->click();
    ASSERT_TRUE(finished.wait(10000));
    auto* list = dialog.findChild<QListWidget*>("found");
    ASSERT_EQ(list->count(), 1);
    const auto doubleClick = [list] {
        const QPoint backpack = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, backpack);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, backpack);
    };
    doubleClick(); // the backpack is tried under wiring 1
    button(dialog, "&Aucun ne s'affiche bien")->click();
    EXPECT_EQ(status->text(), "Aucun brochage ne convient : rien n'est écrit.");
    EXPECT_FALSE(dialog.findChild<QWidget*>("wirings")->isVisible());
    EXPECT_EQ(GetIni("parametres", "TypeLCD", "", machine.settings), "1");

    doubleClick();
    emulated::unplug(machine.bus);
    button(dialog, "&2 Essayer")->click();
    EXPECT_TRUE(status->text().startsWith("Brochage 2 : l'afficheur n'a pas pu être écrit ("))
        << status->text().toStdString();
    ASSERT_TRUE(QFile::remove(machine.settings) && QDir().mkpath(machine.settings));
    button(dialog, "Ça s'affiche bien", 1)->click();
    EXPECT_TRUE(status->text().startsWith("Erreur : TypeLCD n'a pas pu être écrit"))
        << status->text().toStdString();
}

// From the window's File menu: the panel being fed is listed but left alone, the open dialog comes
// to the front again, and the settings written go into the window's log.
TEST(DetectDialog, FromTheWindowThePanelBeingFedIsLeftAloneAndWhatIsWrittenIsLogged) {
    Machine machine;
    emulated::addBackpack(machine.bus, 0x27, *emulated::backpackWiring(1), 16, 2);
    Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=5") +
            "[ports]\nLCDd=127.0.0.1:1\nI2C=" + machine.bus.toUtf8() + "\nadresse=27\n");
    s.env.deviceDirs = DeviceDirs::under(machine.dir.path());
    F_Interface& w = s.startWindow();
    s.chosenProfile = s.dir.write("un.tlcd", kProfile);
    w.findChild<QAction*>("m_fic_ouvrir")->trigger();
    w.findChild<QPushButton*>("Command1")->click();
    ASSERT_TRUE(w.engine().feeding());

    w.findChild<QAction*>("m_fic_detecter")->trigger();
    auto* dialog = w.findChild<DetectDialog*>();
    ASSERT_NE(dialog, nullptr);
    QSignalSpy finished(dialog, &DetectDialog::searchFinished);
    ASSERT_TRUE(finished.wait(10000));
    auto* list = dialog->findChild<QListWidget*>("found");
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().endsWith(
        " — l'envoi sur le LCD est en cours : il est laissé tel quel"));
    EXPECT_FALSE(list->item(0)->flags() & Qt::ItemIsEnabled);
    EXPECT_EQ(dialog->findChild<QLabel*>("status")->text(), "Aucun afficheur utilisable trouvé.");
    EXPECT_FALSE(dialog->findChild<QPushButton*>("use")->isEnabled());

    const QString lcd = machine.dir.write("dev/lcd", {});
    w.findChild<QAction*>("m_fic_detecter")->trigger();
    EXPECT_EQ(w.findChildren<DetectDialog*>().size(), 1) << "the same dialog, searched again";
    dialog->findChild<QPushButton*>("searchAgain")->click();
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1) << "the first one that can be used";
    dialog->findChild<QPushButton*>("use")->click();
    const QString settings = s.dir.file("param.ini");
    EXPECT_EQ(GetIni("parametres", "TypeLCD", "", settings), "7");
    auto* log = w.findChild<QListWidget*>("List1");
    ASSERT_GE(log->count(), 2);
    EXPECT_EQ(log->item(log->count() - 2)->text(), "TypeLCD=7, lcd=" + lcd);
    EXPECT_EQ(log->currentItem(), log->item(log->count() - 1));
    EXPECT_EQ(log->currentItem()->text(), "Réglages écrits dans " + settings +
                                              " : Relayeur les prend à son prochain démarrage.");
}
