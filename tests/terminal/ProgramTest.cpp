// The programs run as a user runs them. relayeur: a first run, the single copy, a line message
// from relayeur-send, SIGTERM and the panel reset, in the terminal; a serial panel that goes and
// a parallel port that is missing; no text of a line message or an LCDd client ever reaches a
// shell. Both programs' command lines, and what relayeur-send writes.
#include "engine/CommandLine.h"
#include "engine/LineMessageReceiver.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

const char* const kSend = RELAYEUR_SEND_BINARY;

// Two pages of one line; the first stays until something brings the second. A line without a
// scroll mode is fixed.
const QByteArray kTwoPages = "[param]\nnb_pages=2\n[page_1]\nligne0=Relais\nligne1=\nligne2=\n"
                             "ligne3=\ntime=0\nnext=2\n[page_2]\nligne0=Suite\nligne1=\nligne2=\n"
                             "ligne3=\ntime=0\nnext=2\n";

// Settings for a panel of one line of this type (2 serial, 3 parallel) on this port.
QByteArray settings(char type, const QByteArray& port) {
    return "[parametres]\nTypeLCD=" + QByteArray(1, type) +
           "\nCOM=1\nC=20\nL=1\ncontrast=0\nbacklight=0\nrefresh=50\nscrolling=0\nrep_winamp=\n"
           "rep_seti=\nrep_HL=\n[ports]\n" +
           port + "\n";
}

// A directory of its own holds the profile, the runtime folder and whatever settings the test
// writes, so that runs in parallel never see each other.
struct Program {
    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString profile = dir.write("p.tlcd", kTwoPages);

    Program() { environment.insert("XDG_RUNTIME_DIR", dir.path()); }
    std::unique_ptr<QProcess> start(const QStringList& arguments) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(RELAYEUR_BINARY), arguments);
        return process;
    }
    Finished run(const QStringList& arguments, const char* program = RELAYEUR_BINARY) const {
        return runToEnd(program, arguments, environment);
    }
};

// A line of the panel as the terminal draws it.
QString panelLine(const QString& text) {
    return "│" + text.leftJustified(20) + "│";
}

} // namespace

// In the terminal: a first run shows the demo; the next one finds the folder as the user left
// it; one given a profile refuses a second copy, takes a line message from relayeur-send and, on
// SIGTERM, resets the panel.
TEST(Program, InTheTerminalFromAFirstRunToALineMessageAndTheResetOnSigterm) {
    Program p;
    p.environment.insert("HOME", p.dir.path());
    p.environment.remove("XDG_CONFIG_HOME");
    auto relayeur = p.start({"--terminal", "--print-log"});
    QStringList seen;
    ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine("    Relayeur"), seen))
        << "the demo runs at once: " << seen.join('\n').toStdString();
    QDir settings(p.dir.file(".config/relayeur"));
    EXPECT_TRUE(seen[0].startsWith("Premier lancement : " + settings.path()))
        << seen[0].toStdString();
    struct stat config {};
    EXPECT_TRUE(::stat(qPrintable(p.dir.file(".config")), &config) == 0 &&
                (config.st_mode & 0777) == 0700)
        << "the missing standard folder is made, for its user alone";
    EXPECT_EQ(terminate(*relayeur), 0);

    // Its settings pick up the last profile: the demo, run again at once.
    ASSERT_TRUE(settings.remove("systeme.tlcd"));
    relayeur = p.start({"--terminal"});
    EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, "demo.tlcd — page 1", seen));
    EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine("    Relayeur"), seen));
    EXPECT_EQ(terminate(*relayeur), 0);
    EXPECT_FALSE(settings.exists("systeme.tlcd")) << "nothing is copied again";

    relayeur = p.start({"--terminal", "--profile", p.profile, "--start"});
    ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine("Relais"), seen))
        << seen.join('\n').toStdString();
    EXPECT_TRUE(seen.contains("p.tlcd — page 1")) << "the title names the profile and page";
    const Finished second = p.run({"--quiet"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.err.trimmed(),
              "Relayeur : une copie de TLCD - Relayeur est déja en cour d'éxécution.");

    // Taken through the real socket, the message makes the page timer tick at once.
    EXPECT_EQ(p.run({"Salut", "0", "1"}, kSend).exitCode, 0);
    EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine("Suite"), seen));
    EXPECT_EQ(terminate(*relayeur), 0);
    const QStringList last = QString::fromUtf8(relayeur->readAllStandardOutput()).split('\n');
    EXPECT_EQ(last.mid(last.size() - 6, 4), QStringList(4, "│" + QString(20, ' ') + "│"))
        << "the panel reset on the way out is the last thing printed";
    const Finished after = p.run({"Salut", "0", "1"}, kSend);
    EXPECT_EQ(after.exitCode, 1);
    EXPECT_TRUE(
        after.err.contains("aucun Relayeur ne tourne pour cet utilisateur (rien n'écoute sur " +
                           p.dir.file("relayeur/default")))
        << after.err.toStdString();
}

// The command of [valeurs] runs as written whatever the line messages and the LCDd clients put on
// the panel: none of their text reaches the shell.
TEST(Program, NoLineMessageNorClientTextReachesTheShell) {
    Program p;
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    const QString marker = p.dir.file("MARQUE");
    p.dir.write("param.ini", settings('1', "") +
                                 "[serveur]\nLCDd=127.0.0.1:" + QByteArray::number(port) +
                                 "\n[valeurs]\ncmd=commande:printf '%s\\n' '%%val(cmd)' >> " +
                                 p.dir.file("runs").toUtf8() + "; echo fait|1\n");
    auto relayeur = p.start({"--terminal", "--print-log", "--config-dir", p.dir.path(), "--profile",
                             p.dir.write("v.tlcd", "[param]\nnb_pages=1\n[page_1]\n"
                                                   "ligne0=%%val(cmd)\ntime=1\nnext=1\n"),
                             "--start"});
    QStringList seen;
    ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine("fait"), seen))
        << seen.join('\n').toStdString();
    const QStringList attacks = {"$(touch " + marker + ")", ";touch " + marker,
                                 "`touch " + marker + "`", "' ; touch " + marker, "%%val(cmd)"};
    for (const QString& attack : attacks) {
        EXPECT_EQ(p.run({"--hold", "1", attack, "0", "0"}, kSend).exitCode, 0);
        // A line message is a line of the page: its variables are those of the page.
        const QString shown = attack == "%%val(cmd)" ? "fait" : attack.left(20);
        EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, panelLine(shown), seen));
    }

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write("hello\nscreen_add s\nwidget_add s w string\n");
    for (const QString& attack : attacks) {
        client.write("widget_set s w 1 1 {" + attack.toUtf8() + "}\n");
        client.waitForBytesWritten(5000);
        EXPECT_TRUE(
            waitForLine(*relayeur, QProcess::StandardOutput, panelLine(attack.left(20)), seen));
    }

    const auto ran = [&] { return p.dir.read("runs").count('\n'); };
    const qsizetype before = ran();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran() >= before + 2; }, 10000))
        << "the command goes on running after the texts came";
    EXPECT_FALSE(QFileInfo::exists(marker));
    const QStringList written =
        QString::fromUtf8(p.dir.read("runs")).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(written, QStringList(written.size(), "%%val(cmd)"));
    EXPECT_EQ(terminate(*relayeur), 0);
}

// Without a profile the terminal says what to do. A --config-dir that does not exist is not made
// and reads as missing settings; a profile refused says why on standard error.
TEST(Program, WithoutAProfileTheTerminalSaysWhyAndWhatToDo) {
    Program p;
    const QString mistyped = p.dir.file("reglages");
    auto relayeur = p.start({"--terminal", "--config-dir", mistyped});
    QStringList out, err;
    ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, "Aucun profil chargé", out));
    EXPECT_TRUE(out.last().endsWith(", ou mettez reprendre=1 dans [parametres] de " + mistyped +
                                    "/param.ini pour reprendre au démarrage le dernier profil "
                                    "ouvert"));
    EXPECT_EQ(terminate(*relayeur), 0);
    EXPECT_TRUE(relayeur->readAllStandardError().contains(
        "Dossier de réglages " + mistyped.toUtf8() + " (--config-dir) introuvable"));
    EXPECT_FALSE(QFileInfo::exists(mistyped));

    p.dir.write("param.ini", settings('1', ""));
    const QString absent = p.dir.file("absent.tlcd");
    relayeur =
        p.start({"--terminal", "--config-dir", p.dir.path(), "--profile", absent, "--start"});
    ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardError, "n'a pas été chargé", err));
    EXPECT_EQ(err.last(), "relayeur: le profil " + absent +
                              " n'a pas été chargé : Fichier introuvable ou illisible ; rien "
                              "n'est envoyé");
    EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, "Aucun profil chargé", out));
    EXPECT_EQ(terminate(*relayeur), 0);
}

// Ctrl+C or SIGTERM at any moment ends the terminal and the window with status 0: taken while
// the settings are read or during the pauses of their log, it waits for start-up to end; right
// after start-up or later it is taken at once. A line message waits for the end of start-up too.
TEST(Program, ATerminationSignalAtAnyMomentEndsTheProgramWithStatusZero) {
    Program p;
    p.dir.write("param.ini", settings('1', ""));
    p.environment.insert("QT_QPA_PLATFORM", "offscreen");
    struct Moment {
        // The line of the log after which the signal goes; the sensor block may be published
        // by a first run of another test, which starts relayeur-sensors.
        const char* awaited;
        int signal;
        bool lineMessage; // one is sent and answered first
    };
    const Moment moments[] = {{"Lecture du fichier de paramètre : param.ini ...", SIGINT, false},
                              {"Seti ...", SIGTERM, false},
                              {"Mother Board Monitor -> ", SIGINT, false},
                              {"Mother Board Monitor -> ", SIGTERM, true}};
    for (const bool terminal : {true, false}) {
        for (const Moment& m : moments) {
            QStringList arguments = {"--config-dir", p.dir.path(), "--quiet", "--print-log",
                                     "--profile",    p.profile,    "--start"};
            if (terminal) {
                arguments.append("--terminal");
            }
            SCOPED_TRACE(arguments.join(' ').toStdString() + " after " + m.awaited);
            auto relayeur = p.start(arguments);
            QStringList seen;
            ASSERT_TRUE(waitForLine(*relayeur, QProcess::StandardOutput, m.awaited, seen))
                << seen.join('\n').toStdString();
            if (m.lineMessage) {
                EXPECT_EQ(p.run({"Salut", "0", "1"}, kSend).exitCode, 0);
            }
            ::kill(static_cast<pid_t>(relayeur->processId()), m.signal);
            ASSERT_TRUE(relayeur->waitForFinished(30000));
            EXPECT_EQ(std::tuple(relayeur->exitStatus(), relayeur->exitCode()),
                      std::tuple(QProcess::NormalExit, 0));
        }
    }
}

// A serial panel unplugged and plugged back is set up again by itself; a parallel port that is not
// there is reported. Either way the program runs on.
TEST(Program, AVanishedSerialPanelComesBackAndAMissingParallelPortIsReported) {
    Program p;
    const QString device = p.dir.file("ttyUSB0");
    PseudoTerminal first;
    ASSERT_TRUE(QFile::link(first.slave, device));
    p.dir.write("param.ini", settings('2', "COM1=" + QFile::encodeName(device)));
    const QStringList arguments = {"--config-dir", p.dir.path(), "--quiet", "--print-log",
                                   "--profile",    p.profile,    "--start"};
    auto relayeur = p.start(arguments);
    // The panel set up, then the first line, each character behind its prefix.
    const QByteArray setUp("\x14\x18\x01\x1E\x01R", 6);
    const auto setUpDone = [&](const QByteArray& received) { return received.contains(setUp); };
    ASSERT_TRUE(first.receiveUntil(setUpDone)) << first.received.toHex(' ').toStdString();

    first.close();
    ASSERT_TRUE(QFile::remove(device));
    QStringList errors;
    ASSERT_TRUE(
        waitForLine(*relayeur, QProcess::StandardError, "Port série " + device + " perdu", errors))
        << errors.join('\n').toStdString();
    PseudoTerminal second;
    ASSERT_TRUE(QFile::link(second.slave, device));
    EXPECT_TRUE(second.receiveUntil(setUpDone)) << second.received.toHex(' ').toStdString();
    EXPECT_EQ(terminate(*relayeur), 0);

    const QString absent = p.dir.file("parport0");
    p.dir.write("param.ini", settings('3', "LPT1=" + QFile::encodeName(absent)));
    relayeur = p.start(arguments);
    EXPECT_TRUE(waitForLine(*relayeur, QProcess::StandardError,
                            "Port parallèle " + absent + " inaccessible", errors))
        << errors.join('\n').toStdString();
    EXPECT_EQ(terminate(*relayeur), 0);
}

// The system's error texts come in the user's language, inside the programs' French sentences.
TEST(Program, SystemErrorTextsComeInTheUsersLanguage) {
    if (!QFileInfo::exists("/usr/share/locale/fr/LC_MESSAGES/libc.mo")) {
        GTEST_SKIP() << "the C library's French texts are not installed (Debian's libc-l10n)";
    }
    Program p;
    p.environment.insert("LC_ALL", "fr_FR.UTF-8");
    if (QFileInfo::exists(FRENCH_LOCALE_DIR "/fr_FR.UTF-8/LC_MESSAGES/SYS_LC_MESSAGES")) {
        p.environment.insert("LOCPATH", FRENCH_LOCALE_DIR);
    } else if (!runToEnd("locale", {"-a"}).out.split('\n').contains("fr_FR.utf8")) {
        GTEST_SKIP() << "no fr_FR.UTF-8 locale: neither generated on this machine nor compiled "
                        "by the build (localedef and Debian's locales package)";
    }
    const Finished sensors =
        p.run({"--remove", "--name", "/relayeur-test/bloc"}, RELAYEUR_SENSORS_BINARY);
    EXPECT_EQ(std::tuple(sensors.exitCode, sensors.err),
              std::tuple(1,
                         "relayeur-sensors : impossible de retirer le bloc /relayeur-test/bloc : "
                         "Argument invalide\n"));

    const QString absent = p.dir.file("parport0");
    p.dir.write("param.ini", settings('3', "LPT1=" + QFile::encodeName(absent)));
    auto relayeur = p.start(
        {"--terminal", "--quiet", "--config-dir", p.dir.path(), "--profile", p.profile, "--start"});
    QStringList errors;
    EXPECT_TRUE(waitForLine(
        *relayeur, QProcess::StandardError,
        "Port parallèle " + absent + " inaccessible : Aucun fichier ou dossier de ce type", errors))
        << errors.join('\n').toStdString();
    EXPECT_EQ(terminate(*relayeur), 0);
}

// Each program's command line, and what relayeur-send puts on the wire and tells the user.
TEST(CommandLine, EachProgramSaysWhatItDidAndRelayeurSendWritesWindows1252) {
    Program p;
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        p.environment.remove(variable);
    }
    LineMessageReceiver r;
    ASSERT_EQ(r.server.listen(p.dir.file("relayeur"), {"default", "4A00007"}), QStringList());
    struct Case {
        int exitCode;
        QString said; // on standard output when all went well, else on standard error
        QStringList arguments;
        QList<LineMessageReceiver::Message> received = {};
        const char* program = kSend;
    };
    const Case cases[] = {
        {0, "Utilisation : relayeur [options]", {"--help"}, {}, RELAYEUR_BINARY},
        {0, "relayeur " RELAYEUR_VERSION "\n", {"--version"}, {}, RELAYEUR_BINARY},
        {2, "option inconnue : --no-such-option", {"--no-such-option"}, {}, RELAYEUR_BINARY},
        {2, "il manque une valeur après --profile", {"--profile"}, {}, RELAYEUR_BINARY},
        {2, "il manque une valeur après --editer", {"--editer"}, {}, RELAYEUR_BINARY},
        {2,
         "--editer ouvre une fenêtre : il ne se combine pas avec --terminal",
         {"--terminal", "--editer", "p.tlcd"},
         {},
         RELAYEUR_BINARY},
        {2,
         "--detecter se combine avec --config-dir seulement",
         {"--detecter", "--editer=p.tlcd"},
         {},
         RELAYEUR_BINARY},
        {1, "lancez relayeur --terminal", {}, {}, RELAYEUR_BINARY}, // no display
        {0, "", {"Été à 20°, 5 €, Ω", "0", "3"}, {{3, "\xC9t\xE9 \xE0 20\xB0, 5 \x80, ?03"}}},
        {0, "", {"", "4", "0"}, {{3, "40"}}},
        // Under the plain C locale the text is still read as UTF-8.
        {0, "", {"-c", "LC_ALL=C \"$0\" Noël 0 1", kSend}, {{3, "No\xEBl01"}}, "/bin/sh"},
        {0, "", {"--window=0x4a00007", "--raw", "A\\x00\\xff\\\\12"}, {{3, {"A\0\xff\\12", 6}}}},
        {3, "laissé le message", {"--dwdata=0x10", "Salut", "0", "0"}, {{16, "Salut00"}}},
        {0, "", {"Bonjour", "1", "2", "--window", "4a00007"}, {{3, "Bonjour12"}}},
        {0, "", {"--hold", "86400", "Tenu", "0", "1"}, {{4, linemessage::held(86400, "Tenu01")}}},
        {0, "", {"--hold=0", "Bref", "0", "1"}, {{3, "Bref01"}}},
        {0, "", {"--hold=5", "--raw", "x"}, {{4, linemessage::held(5, "x")}}},
        {3, "n'a pas répondu", {"--raw", QString(linemessage::kMaxDataBytes + 1, 'x')}},
        {1, "aucun Relayeur n'a la fenêtre 99", {"--window", "99", "Bonjour", "1", "2"}},
        {0, "Usage : relayeur-send", {"--help"}},
        {2, "MODE", {"Bonjour", "5", "2"}},
        {2, "LIGNE", {"Bonjour", "1", "4"}},
        {2, "Usage", {"Bonjour", "1"}},
        {2, "--raw ne se combine pas", {"--raw", "12", "Bonjour", "1", "2"}},
        {2, "échappement incorrect", {"--raw", "Bonjour\\q12"}},
        {2, "--dwdata : un nombre", {"--dwdata", "trois", "Bonjour", "1", "2"}},
        {2, "--hold : un nombre de secondes de 0 à 86400", {"--hold", "-1", "Bonjour", "1", "2"}},
        {2, "--hold : un nombre", {"--hold=86401", "Bonjour", "1", "2"}},
        {2, "--hold : un nombre", {"--hold", "demain", "Bonjour", "1", "2"}},
        {2, "--window : un identifiant", {"--window=fenêtre", "Bonjour", "1", "2"}},
        {2,
         "il manque une valeur après --window\nrelayeur-send --help",
         {"Bonjour", "1", "2", "--window"}},
        {2, "option inconnue : --ligne", {"--ligne=2", "Bonjour", "1"}},
        // Bytes that are no text in the locale's encoding nor in UTF-8.
        {2, "lisible", {"-c", "\"$0\" \"$(printf 'caf\\351')\" 0 0", kSend}, {}, "/bin/sh"}};
    for (const Case& c : cases) {
        r.received.clear();
        const Finished run = p.run(c.arguments, c.program);
        SCOPED_TRACE(c.arguments.join(' ').left(80).toStdString());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(r.received, c.received);
        EXPECT_TRUE((c.exitCode == 0 ? run.out : run.err).contains(c.said))
            << run.err.toStdString();
    }
}

// Both spellings of an option with a value, and what is not an option at all.
TEST(CommandLine, ValuesAfterTheOptionOrAfterAnEqualsSign) {
    const ParsedCommandLine both = parseCommandLine(
        {"relayeur", "--config-dir=/etc/relayeur", "--profile", "p.tlcd", "--terminal"});
    ASSERT_TRUE(both.options);
    EXPECT_EQ(std::tuple(both.options->configDir, both.options->profile, both.options->quiet),
              std::tuple("/etc/relayeur", "p.tlcd", true))
        << "the terminal has no message boxes";
    const ParsedCommandLine edit =
        parseCommandLine({"relayeur", "--editer=nouveau.tlcd", "--profile", "p.tlcd"});
    ASSERT_TRUE(edit.options);
    EXPECT_EQ(std::tuple(edit.options->edit, edit.options->profile),
              std::tuple("nouveau.tlcd", "p.tlcd"));
    EXPECT_TRUE(parseCommandLine({"relayeur", "--help"}).output.contains("--editer FICHIER"));
    const ParsedCommandLine stray = parseCommandLine({"relayeur", "p.tlcd"});
    EXPECT_EQ(std::tuple(stray.options.has_value(), stray.exitCode), std::tuple(false, 2));
    EXPECT_EQ(stray.output, "relayeur : argument inattendu : p.tlcd\n"
                            "relayeur --help donne la liste des options.\n");
    const ParsedCommandLine flagValue = parseCommandLine({"relayeur", "--start=oui"});
    EXPECT_EQ(std::tuple(flagValue.options.has_value(), flagValue.exitCode), std::tuple(false, 2));
    EXPECT_TRUE(flagValue.output.contains("--start ne prend pas de valeur"));
    EXPECT_EQ(parseCommandLine({"relayeur", "-h"}).output,
              parseCommandLine({"relayeur", "--help"}).output);
}
