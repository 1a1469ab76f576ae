// The relayeur program run as a user runs it: command line, start-up log, single copy, signals.
#include "platform/InstanceLock.h"
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

// A profile of one page that stays, with these lines.
QByteArray onePage(const QByteArrayList& lines) {
    QByteArray text = "[param]\nnb_pages=1\n[page_1]\ntime=0\nnext=0\n";
    for (int l = 0; l < 4; ++l) {
        const QByteArray n = QByteArray::number(l);
        text +=
            "scroll" + n + "=0\n" + (l < lines.size() ? "ligne" + n + "=" + lines[l] + "\n" : "");
    }
    return text;
}

} // namespace

TEST(Program, HelpListsEveryOptionAndVersionPrintsTheVersion) {
    Program p;
    auto help = p.start({"--help"});
    ASSERT_TRUE(help->waitForFinished(30000));
    const QString text = QString::fromUtf8(help->readAllStandardOutput());
    EXPECT_TRUE(text.startsWith("Utilisation : relayeur [options]")) << "in French, as the rest";
    for (const char* option : {"--config-dir", "--profile", "--start", "--minimized", "--quiet",
                               "--print-log", "--terminal", "--version"}) {
        EXPECT_TRUE(text.contains(option)) << option;
    }
    EXPECT_EQ(help->exitCode(), 0);

    auto version = p.start({"--version"});
    ASSERT_TRUE(version->waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(version->readAllStandardOutput()).trimmed(),
              QStringLiteral("relayeur " RELAYEUR_VERSION));

    for (const auto& [arguments, error] :
         {std::pair{QStringList{"--no-such-option"}, "option inconnue : --no-such-option"},
          {QStringList{"--profile"}, "il manque une valeur après --profile"}}) {
        auto wrong = p.start(arguments);
        ASSERT_TRUE(wrong->waitForFinished(30000));
        EXPECT_EQ(wrong->exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(wrong->readAllStandardError()).contains(error)) << error;
    }
}

TEST(Program, PrintsItsLogsRefusesASecondCopyAndEndsOnSigterm) {
    Program p;
    const QString profile = p.dir.write("un.tlcd", onePage({"%%time"}));
    auto first = p.start(
        {"--config-dir", p.dir.path(), "--quiet", "--print-log", "--profile", profile, "--start"});
    QStringList seen;
    ASSERT_TRUE(Program::waitForLine(*first, "Chargement du fichier de commande -> OK", seen))
        << seen.join('\n').toStdString();

    auto second = p.start({"--config-dir", p.dir.path(), "--quiet", "--print-log"});
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty()) << "the copy starts nothing";
    EXPECT_EQ(QString::fromUtf8(second->readAllStandardError()).trimmed(),
              "Relayeur : une copie de TLCD - Relayeur est déja en cour d'éxécution.");

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(Program::terminate(*first), 0);
    const QString errors = QString::fromUtf8(first->readAllStandardError());
    EXPECT_TRUE(errors.contains("Relayeur : Vous n'avez pas lancer motherBoard Monitor. Vous ne "
                                "pourrais pas accéder aux variables de Mbm"))
        << errors.toStdString();

    // Once the first copy has ended, the next one starts. Started from a session, it is found
    // from cron or ssh, without XDG_RUNTIME_DIR, both by relayeur-send and by a second copy.
    RuntimeDirPlaces places = RuntimeDirPlaces::fromSystem();
    places.xdgRuntimeDir.clear();
    const RuntimePath session = findRuntimeDir("relayeur", places);
    ASSERT_FALSE(session.path.isEmpty()) << session.problem.toStdString();
    if (!InstanceLock::acquire(session.path + "/relayeur.lock")) {
        GTEST_SKIP() << "a Relayeur of this user runs with " << session.path.toStdString();
    }
    p.environment.insert("XDG_RUNTIME_DIR", session.path);
    auto third = p.start({"--config-dir", p.dir.path(), "--quiet", "--print-log"});
    seen.clear();
    EXPECT_TRUE(Program::waitForLine(*third, "Mother Board Monitor -> ABSENT", seen));
    p.environment.remove("XDG_RUNTIME_DIR");
    EXPECT_EQ(relayeurSend(p, {"Bonjour", "0", "0"}).exitCode, 0);
    auto fourth = p.start({"--config-dir", p.dir.path(), "--quiet"});
    ASSERT_TRUE(fourth->waitForFinished(30000));
    EXPECT_EQ(fourth->exitCode(), 1);
    EXPECT_EQ(Program::terminate(*third), 0);
}

TEST(Program, WithoutADisplayTheTerminalShowsThePanel) {
    Program p;
    p.environment.remove("QT_QPA_PLATFORM");
    p.environment.remove("DISPLAY");
    p.environment.remove("WAYLAND_DISPLAY");
    QByteArray settings = kSettings;
    p.dir.write("param.ini", settings.replace("TypeLCD=2", "TypeLCD=1"));
    const QString profile = p.dir.write("p.tlcd", onePage({"Bonjour"}));

    auto refused = p.start({"--config-dir", p.dir.path()});
    ASSERT_TRUE(refused->waitForFinished(30000));
    EXPECT_EQ(refused->exitCode(), 1);
    EXPECT_TRUE(refused->readAllStandardError().contains("--terminal"));

    auto relayeur =
        p.start({"--terminal", "--config-dir", p.dir.path(), "--profile", profile, "--start"});
    QStringList seen;
    EXPECT_TRUE(Program::waitForLine(*relayeur, "p.tlcd — page 1", seen));
    EXPECT_TRUE(Program::waitForLine(*relayeur, "│Bonjour             │", seen))
        << seen.join('\n').toStdString();
    EXPECT_EQ(Program::terminate(*relayeur), 0);
    const QStringList last = QString::fromUtf8(relayeur->readAllStandardOutput()).split('\n');
    ASSERT_GE(last.size(), 7);
    EXPECT_EQ(last.mid(last.size() - 6, 4), QStringList(4, "│" + QString(20, ' ') + "│"))
        << "the panel reset on the way out is the last thing printed";
}

TEST(Program, AFirstRunMakesTheSettingsFolderAndShowsTheDemo) {
    Program p;
    const QString home = p.dir.file("maison");
    p.environment.insert("HOME", home);
    p.environment.remove("XDG_CONFIG_HOME");
    auto process = p.start({"--terminal", "--print-log"});
    QStringList seen;
    ASSERT_TRUE(Program::waitForLine(*process, "Chargement du fichier de commande -> OK", seen))
        << seen.join('\n').toStdString();
    const QDir settings(home + "/.config/relayeur");
    EXPECT_TRUE(seen[0].startsWith("Premier lancement : " + settings.path()))
        << seen[0].toStdString();
    EXPECT_TRUE(
        seen.contains("Chargement du fichier de commande -> " + settings.filePath("demo.tlcd")));
    EXPECT_TRUE(seen.contains("TypeLCD = 1"));
    EXPECT_TRUE(waitForPanelLine(*process, 0, "    Relayeur")) << "the demo runs at once";
    EXPECT_EQ(Program::terminate(*process), 0);
    EXPECT_TRUE(settings.entryList({"*.tlcd"}).contains("systeme.tlcd"));

    // The next run finds the folder as the user left it: nothing is copied or loaded again.
    ASSERT_TRUE(QFile::remove(settings.filePath("systeme.tlcd")));
    process = p.start({"--terminal", "--print-log"});
    seen.clear();
    ASSERT_TRUE(Program::waitForLine(*process, "Mother Board Monitor -> ABSENT", seen))
        << seen.join('\n').toStdString();
    EXPECT_EQ(Program::terminate(*process), 0);
    EXPECT_FALSE(seen.join('\n').contains("Premier lancement"));
    EXPECT_FALSE(settings.exists("systeme.tlcd"));
}
