// The program under faults: a serial panel that goes and comes back, a parallel port that is not
// there, a settings folder it may not write, and a flood of line messages with garbage in it.
#include "linemessage/LineMessage.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/ReadOnlyDir.h"
#include "support/RunningProgram.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

// Reads standard error until a line satisfies `wanted`; false if the program ended first.
bool waitForError(QProcess& process, const std::function<bool(const QString&)>& wanted,
                  QStringList& seen) {
    process.setReadChannel(QProcess::StandardError);
    while (true) {
        while (process.canReadLine()) {
            seen.append(QString::fromUtf8(process.readLine()).chopped(1));
            if (wanted(seen.back())) {
                return true;
            }
        }
        if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(30000)) {
            return false;
        }
    }
}

// What the serial panel receives for one line of text, padded to 20 columns.
QByteArray serialLine(char start, const QByteArray& text) {
    QByteArray bytes(1, start);
    for (const char c : text.leftJustified(20)) {
        bytes += QByteArray("\x1E\x01", 2) + c;
    }
    return bytes;
}

const QByteArray kOneLineProfile = "[param]\nnb_pages=1\n[page_1]\nligne0=Relais\nligne1=\n"
                                   "ligne2=\nligne3=\nscroll0=0\nscroll1=0\nscroll2=0\n"
                                   "scroll3=0\ntime=0\nnext=0\n";

} // namespace

TEST(ProgramFaults, ASerialPanelUnpluggedAndPluggedBackComesBackByItself) {
    Program p;
    const QString device = p.dir.file("ttyUSB0");
    auto first = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(first->slave, device));
    p.dir.write("param.ini", "[parametres]\nTypeLCD=2\nCOM=1\nC=20\nL=1\ncontrast=0\n"
                             "backlight=0\nrefresh=50\nscrolling=0\nrep_winamp=\nrep_seti=\n"
                             "rep_HL=\n[ports]\nCOM1=" +
                                 QFile::encodeName(device) + "\n");
    const QString profile = p.dir.write("p.tlcd", kOneLineProfile);
    auto relayeur =
        p.start({"--config-dir", p.dir.path(), "--quiet", "--profile", profile, "--start"});
    const QByteArray frame = serialLine('\x01', "Relais");
    const QByteArray setUp = QByteArray("\x14\x18", 2) + frame;
    auto reset = [&](const QByteArray& received) { return received.contains(setUp); };
    ASSERT_TRUE(first->receiveUntil(reset));

    first.reset();
    ASSERT_TRUE(QFile::remove(device));
    QStringList errors;
    ASSERT_TRUE(waitForError(
        *relayeur,
        [&](const QString& line) { return line.contains("Port série " + device + " perdu"); },
        errors))
        << errors.join('\n').toStdString();

    PseudoTerminal second;
    ASSERT_TRUE(QFile::link(second.slave, device));
    EXPECT_TRUE(second.receiveUntil(reset))
        << "received: " << second.received.toHex(' ').toStdString();
    EXPECT_TRUE(waitForError(
        *relayeur,
        [&](const QString& line) { return line == "relayeur: Port série " + device + " retrouvé"; },
        errors))
        << errors.join('\n').toStdString();
    EXPECT_EQ(Program::terminate(*relayeur), 0);
}

TEST(ProgramFaults, AMissingParallelPortAndAReadOnlySettingsFolderLeaveTheProgramRunning) {
    Program p;
    const QString absent = p.dir.file("parport-absent");
    QByteArray settings = kSettings;
    settings.replace("TypeLCD=2", "TypeLCD=3");
    settings += "[ports]\nLPT1=" + QFile::encodeName(absent) + "\n";
    ASSERT_TRUE(QDir(p.dir.path()).mkdir("config"));
    p.dir.write("config/param.ini", settings);
    const QString profile = p.dir.write("p.tlcd", kOneLineProfile);
    ReadOnlyDir readOnly(p.dir.file("config"));
    if (!readOnly.made()) {
        GTEST_SKIP() << "this file system cannot make a folder read-only for this user";
    }

    auto relayeur = p.start({"--config-dir", p.dir.file("config"), "--quiet", "--print-log",
                             "--profile", profile, "--start"});
    QStringList seen;
    ASSERT_TRUE(Program::waitForLine(*relayeur, "Chargement du fichier de commande -> OK", seen))
        << seen.join('\n').toStdString();
    QStringList errors;
    EXPECT_TRUE(waitForError(
        *relayeur,
        [&](const QString& line) {
            return line.startsWith("relayeur: Port parallèle " + absent + " inaccessible : ");
        },
        errors))
        << errors.join('\n').toStdString();
    EXPECT_EQ(relayeurSend(p, {"Toujours là", "0", "0"}).exitCode, 0);
    EXPECT_EQ(Program::terminate(*relayeur), 0);
    EXPECT_EQ(p.dir.read("config/param.ini"), settings);
    EXPECT_EQ(QDir(p.dir.file("config")).entryList(QDir::Files), QStringList{"param.ini"});
}

// 100 000 messages over many connections: well-formed ones, random bytes of every length,
// other dwData values, and connections that end with a header announcing too much or in the
// middle of a message. Every whole message is answered and the program goes on.
TEST(ProgramFaults, AFloodOfLineMessagesWithGarbageIsAnsweredToTheLast) {
    Program p;
    QByteArray settings = kSettings;
    p.dir.write("param.ini",
                settings.replace("TypeLCD=2", "TypeLCD=1").replace("refresh=300", "refresh=50"));
    const QString profile = p.dir.write("p.tlcd", kOneLineProfile);
    auto relayeur = p.start(
        {"--config-dir", p.dir.path(), "--quiet", "--print-log", "--profile", profile, "--start"});
    QStringList seen;
    ASSERT_TRUE(Program::waitForLine(*relayeur, "Chargement du fichier de commande -> OK", seen));
    const QString path = p.dir.file("relayeur/default");

    std::mt19937 random(20261205);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    constexpr int kMessages = 100000;
    constexpr int kBatch = 100;
    int sent = 0;
    int taken = 0;
    int garbage = 0;
    int endings = 0;
    while (sent < kMessages) {
        QLocalSocket socket;
        socket.connectToServer(path);
        ASSERT_TRUE(socket.waitForConnected(5000)) << "after " << sent << " messages";
        for (int batches = 0; batches < 10 && sent < kMessages; ++batches) {
            QByteArray out;
            std::vector<bool> valid;
            for (int i = 0; i < kBatch && sent < kMessages; ++i, ++sent) {
                if (below(4) == 0) {
                    QByteArray junk(below(400), '\0');
                    for (char& c : junk) {
                        c = static_cast<char>(below(256));
                    }
                    out += linemessage::encode(below(3) == 0 ? random() : 3, junk);
                    valid.push_back(false);
                    ++garbage;
                } else {
                    out += linemessage::encode(3, "Message " + QByteArray::number(sent) + "0" +
                                                      QByteArray::number(below(4)));
                    valid.push_back(true);
                }
            }
            socket.write(out);
            qsizetype expected = static_cast<qsizetype>(valid.size()) * linemessage::kReplyBytes;
            while (socket.bytesAvailable() < expected && socket.waitForReadyRead(10000)) {
            }
            ASSERT_EQ(socket.bytesAvailable(), expected) << "after " << sent << " messages";
            for (const bool wellFormed : valid) {
                const quint32 reply =
                    linemessage::decodeReply(socket.read(linemessage::kReplyBytes));
                if (wellFormed) {
                    ASSERT_EQ(reply, linemessage::kTaken) << "message " << sent;
                    ++taken;
                } else {
                    ASSERT_TRUE(reply == linemessage::kTaken || reply == linemessage::kIgnored);
                }
            }
        }
        switch (endings++ % 3) {
        case 0: // announces more than any message may hold
            socket.write(QByteArray("\x03\0\0\0\xFF\xFF\xFF\x7F", 8));
            EXPECT_TRUE(socket.waitForDisconnected(10000)) << "an oversized message ends it";
            break;
        case 1: // stops in the middle of a message
            socket.write(linemessage::encode(3, "Coupé au milieu02").left(12));
            socket.waitForBytesWritten(5000);
            break;
        default:
            break;
        }
    }
    EXPECT_GT(garbage, kMessages / 5);
    EXPECT_GT(taken, kMessages / 2);

    EXPECT_EQ(relayeurSend(p, {"Fin du flot", "0", "0"}).exitCode, 0);
    EXPECT_EQ(relayeur->state(), QProcess::Running);
    EXPECT_EQ(Program::terminate(*relayeur), 0);
}
