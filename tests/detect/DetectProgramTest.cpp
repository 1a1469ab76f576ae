// relayeur --detecter as a user runs it, on a machine whose devices are emulated: what it finds,
// the questions it asks, the settings it writes, and the panel they then drive.
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QByteArray kSettings = "; à moi\n[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                             "backlight=1\nrefresh=100\nscrolling=0\nrep_winamp=\nrep_seti=\n"
                             "rep_HL=\n";

// A machine with one 20x4 module behind a backpack at 0x3F on its I2C bus 7, wired the second
// way, and settings for the on-screen panel with a comment of the user's.
struct Machine {
    TempDir dir;
    QString bus = dir.write("dev/i2c-7", {});
    QString settings = dir.write("param.ini", kSettings + "[ports]\nLCDd=127.0.0.1:1\n");
    QString profile = dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=Bonjour du "
                                          "relais\nligne1=\nligne2=\nligne3=\ntime=0\nnext=1\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    Machine() {
        environment.insert("XDG_RUNTIME_DIR", dir.path());
        environment.insert("LD_PRELOAD", EMULATED_DEVICES_LIBRARY);
        environment.insert("RELAYEUR_EMULATED", "i2c:" + bus + ":0x3f:2:20x4");
        environment.insert("RELAYEUR_DEV_ROOT", dir.path());
        environment.insert("RELAYEUR_EMULATED_VIEW", dir.file("vue"));
    }

    Finished detect(const QByteArray& answers) const {
        QProcess process;
        process.setProcessEnvironment(environment);
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(RELAYEUR_BINARY, {"--detecter", "--config-dir", dir.path()});
        process.write(answers);
        process.closeWriteChannel();
        const bool ended = finished.wait(30000);
        return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // What the emulated module shows, as its view draws it.
    QString shown() const {
        const QStringList views = QDir(dir.file("vue")).entryList({"*.txt"});
        return views.isEmpty() ? QString() : QString::fromUtf8(dir.read("vue/" + views.first()));
    }
};

} // namespace

// The backpack is found at 0x3F, each wiring tried in turn until the user names the second; the
// settings written then show the profile on the module, from relayeur --terminal --start.
TEST(Detect, FindsTheBackpackAndWritesSettingsThatDriveIt) {
    Machine machine;
    const Finished run = machine.detect("1\n\n2\n");
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("1. I2C " + machine.bus +
                                 ", adresse 0x3F : un extenseur "
                                 "PCF8574A a répondu"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("   → TypeLCD=5, I2C=" + machine.bus +
                                 ", adresse=0x3F, brochage=(à essayer)\n"));
    EXPECT_TRUE(run.out.contains("Brochage 1 essayé.\n") &&
                run.out.contains("Brochage 2 essayé.\n"));
    EXPECT_FALSE(run.out.contains("Brochage 3 essayé."));
    const QByteArray settings = machine.dir.read("param.ini");
    EXPECT_EQ(settings, QByteArray(kSettings).replace("TypeLCD=1", "TypeLCD=5") +
                            "[ports]\nLCDd=127.0.0.1:1\nI2C=" + machine.bus.toUtf8() +
                            "\nadresse=0x3F\nbrochage=2\n");

    QProcess relayeur;
    relayeur.setProcessEnvironment(machine.environment);
    relayeur.start(RELAYEUR_BINARY, {"--terminal", "--config-dir", machine.dir.path(), "--profile",
                                     machine.profile, "--start"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return machine.shown().startsWith("Bonjour du relais   \n"); }, 30000))
        << machine.shown().toStdString();
    EXPECT_EQ(terminate(relayeur), 0);
}

// No wiring chosen, no panel found, or a mistake on the command line: nothing is written.
TEST(Detect, WritesNothingUnlessThePanelIsChosen) {
    Machine machine;
    const QByteArray before = machine.dir.read("param.ini");
    Finished run = machine.detect("1\n\n\n\n");
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Brochage 3 essayé.")) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("Aucun brochage ne convient : rien n'est écrit.\n"));
    // Answers out of range are asked again; no answer, or the input ending, chooses nothing.
    for (const QByteArray& answers : {QByteArray("x\n9\n\n"), QByteArray()}) {
        run = machine.detect(answers);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out.count("un nombre de 0 à 1 est attendu"), answers.isEmpty() ? 0 : 2)
            << run.out.toStdString();
        EXPECT_TRUE(run.out.endsWith("Aucun afficheur choisi : rien n'est écrit.\n"));
    }
    machine.environment.insert("RELAYEUR_EMULATED", "");
    ASSERT_TRUE(QFile::remove(machine.bus));
    run = machine.detect({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.endsWith("Aucun afficheur trouvé.\n")) << run.out.toStdString();

    run = runToEnd(RELAYEUR_BINARY, {"--detecter", "--terminal"}, machine.environment);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--detecter se combine avec --config-dir seulement"));
    EXPECT_EQ(machine.dir.read("param.ini"), before);
}
