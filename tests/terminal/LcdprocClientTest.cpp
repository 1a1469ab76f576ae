// Debian's lcdproc, the LCDproc system monitor, against the running relayeur: its screens show
// between the profile's pages, in the terminal view and on a serial panel.
#include "support/PseudoTerminal.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A port free now, and still free a moment later.
QByteArray freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QByteArray::number(probe.serverPort());
}

// One page that stays a second, then its turn goes to the clients' screens.
const QByteArray kPage = "[param]\nnb_pages=1\n[page_1]\nligne0=Page du profil\ntime=1\nnext=1\n";

bool shows(QProcess& program, const QString& wanted, QStringList& seen);

struct Served {
    TempDir dir;
    QByteArray port = freePort();
    QProcess relayeur;
    QProcess lcdproc;

    // relayeur on this panel, with the server on, and lcdproc's CPU, memory, time and uptime
    // screens, from a configuration of its own (the machine's might add others).
    Served(char typeLcd, const QByteArray& ports) {
        dir.write("param.ini", "[parametres]\nTypeLCD=" + QByteArray(1, typeLcd) +
                                   "\nCOM=1\nC=20\nL=4\ncontrast=0\nbacklight=0\nrefresh=125\n"
                                   "scrolling=0\nrep_winamp=\nrep_seti=\nrep_HL=\n[ports]\n" +
                                   ports + "\n[serveur]\nLCDd=127.0.0.1:" + port + "\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", dir.path());
        relayeur.setProcessEnvironment(environment);
        relayeur.start(RELAYEUR_BINARY,
                       {"--terminal", "--print-log", "--quiet", "--config-dir", dir.path(),
                        "--profile", dir.write("p.tlcd", kPage), "--start"});
        QStringList seen;
        listening =
            waitForLine(relayeur, QProcess::StandardOutput, "Serveur LCDd : à l'écoute", seen);
        lcdproc.start(LCDPROC_BINARY, {"-f", "-c", dir.write("lcdproc.conf", "[lcdproc]\n"), "-s",
                                       "127.0.0.1", "-p", port, "C", "M", "T", "U"});
    }
    ~Served() {
        lcdproc.terminate();
        lcdproc.waitForFinished();
        terminate(relayeur);
    }
    bool listening = false;
};

// Reads the program's output until a line holds `wanted`; the terminal view draws without end, so
// the wait has a limit of its own.
bool shows(QProcess& program, const QString& wanted, QStringList& seen) {
    const QDeadlineTimer limit(60000);
    program.setReadChannel(QProcess::StandardOutput);
    while (!limit.hasExpired() && program.state() == QProcess::Running) {
        while (program.canReadLine()) {
            seen.append(QString::fromUtf8(program.readLine()).chopped(1));
            if (seen.back().contains(wanted)) {
                return true;
            }
        }
        program.waitForReadyRead(1000);
    }
    return false;
}

} // namespace

TEST(LcdprocClient, ItsScreensShowBetweenThePagesInTheTerminalView) {
    Served s('1', "");
    ASSERT_TRUE(s.listening);
    QStringList seen;
    for (const char* shown :
         {"Client LCDd connecté depuis 127.0.0.1:", "se nomme « LCDproc ", "SYSTEM UPTIME",
          "Page du profil", " CPU ", "MEM", "Page du profil"}) {
        EXPECT_TRUE(shows(s.relayeur, shown, seen)) << shown << "\n"
                                                    << seen.join('\n').toStdString();
    }
    s.lcdproc.terminate();
    EXPECT_TRUE(shows(s.relayeur, "Client LCDd « LCDproc ", seen));
}

TEST(LcdprocClient, ItsScreensGoOutOnASerialPanel) {
    PseudoTerminal line;
    Served s('2', "COM1=" + line.slave.toUtf8());
    ASSERT_TRUE(s.listening);
    // The serial panel sends each character behind its prefix.
    const auto text = [](const QByteArray& received) {
        QByteArray characters;
        for (qsizetype at = received.indexOf("\x1e\x01"); at >= 0 && at + 2 < received.size();
             at = received.indexOf("\x1e\x01", at + 3)) {
            characters += received[at + 2];
        }
        return characters;
    };
    EXPECT_TRUE(line.receiveUntil([&](const QByteArray& received) {
        const QByteArray shown = text(received);
        return shown.contains("SYSTEM UPTIME") && shown.contains("Page du profil");
    })) << text(line.received).toStdString();
}
