// File > « Détecter l'afficheur… »: the search away from the window's thread, a backpack tried
// under each wiring from its buttons, and the settings of the one that reads right written.
#include "shell/DetectDialog.h"

#include "EmulatedDevices.h"
#include "platform/USEINI.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

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
