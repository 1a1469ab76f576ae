// The receiving end of line messages on real local sockets: who can reach it, what it answers,
// and what it does with senders that misbehave.
#include "engine/LineMessageServer.h"

#include "engine/Crowd.h"
#include "engine/LineMessageClient.h"
#include "engine/LineMessageReceiver.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

using Receiver = LineMessageReceiver;

TEST(LineMessageServer, PrivateSocketsAnswerAsManySendersAsAllowedAndOnlyAStaleOneIsReplaced) {
    LineMessageServer::Limits limits;
    limits.maxConnections = 2;
    Receiver r(limits);
    ASSERT_TRUE(QDir().mkpath(r.dir)); // open to others, the receiver makes it private
    {
        // What a run that crashed leaves behind: a socket file that nothing listens on.
        QLocalServer crashed;
        ASSERT_TRUE(crashed.listen(r.runtime.file("old")));
        ASSERT_TRUE(QFile::rename(r.runtime.file("old"), r.path("default")));
    }

    const mode_t umask = ::umask(0); // the sockets are private whatever the umask
    const QStringList problems = r.server.listen(r.dir, {"4A00007", "default"});
    ::umask(umask);
    ASSERT_EQ(problems, QStringList());
    for (const QString& path : {r.dir, r.path("4A00007"), r.path("default")}) {
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
        EXPECT_EQ(info.st_mode & 07777, 0700u) << "the user alone: " << std::oct << info.st_mode;
    }
    LineMessageClient byHandle, byDefault, surplus, late;
    ASSERT_TRUE(byHandle.connectTo(r.path("4A00007")));
    EXPECT_EQ(byHandle.send(3, "Bonjour12"), linemessage::kTaken);
    EXPECT_EQ(byHandle.send(7, "Bonjour12"), linemessage::kIgnored) << "same connection, again";
    ASSERT_TRUE(byDefault.connectTo(r.path("default")));
    EXPECT_EQ(byDefault.send(3, "Salut03"), linemessage::kTaken);
    EXPECT_EQ(r.received,
              QList<Receiver::Message>({{3, "Bonjour12"}, {7, "Bonjour12"}, {3, "Salut03"}}));
    ASSERT_TRUE(surplus.connectTo(r.path("default"))); // the kernel accepts it, the receiver not
    EXPECT_TRUE(surplus.droppedWithin(5000));

    // Never in a link, which could lead anywhere, nor in a file, nor where no folder can be made.
    Receiver second;
    ASSERT_TRUE(QFile::link(r.dir, second.runtime.file("link")));
    second.runtime.write("file", "x");
    for (const char* dir : {"link", "file", "none/deeper"}) {
        EXPECT_EQ(second.server.listen(second.runtime.file(dir), {"default"}).size(), 1) << dir;
    }
    const QString tooLong(120, 'n');
    EXPECT_EQ(second.server.listen(r.dir, {"default", tooLong, "other"}),
              QStringList({r.path("default") + " : déjà utilisé par un autre programme",
                           r.path(tooLong) + " : " + std::strerror(ENAMETOOLONG)}));
    EXPECT_EQ(second.server.socketPaths(), QStringList({r.path("other")}));
    byHandle.socket.disconnectFromServer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.server.connectionCount() == 1; }, 5000));
    ASSERT_TRUE(late.connectTo(r.path("default")));
    EXPECT_EQ(late.send(3, "12"), linemessage::kTaken) << "a place is free again";
    EXPECT_EQ(r.received.size(), 4) << "the live socket still belongs to the first";
    EXPECT_TRUE(second.received.isEmpty());

    r.server.close();
    EXPECT_FALSE(QFile::exists(r.path("4A00007")));
    EXPECT_FALSE(QFile::exists(r.path("default")));
    EXPECT_TRUE(late.droppedWithin(5000)) << "closing ends the open connections";
}

TEST(LineMessageServer,
     ServesFloodsInTurnEvenToALateReaderAndDropsSilentHalfOversizedAndDeafSenders) {
    LineMessageServer::Limits limits;
    limits.idleMs = 200;
    Receiver r(limits);
    ASSERT_EQ(r.server.listen(r.dir, {"default"}), QStringList());
    LineMessageClient silent, half, oversized, flooding, deaf, late;
    deaf.socket.setReadBufferSize(linemessage::kReplyBytes); // takes in one answer, no more
    for (LineMessageClient* client : {&silent, &half, &oversized, &flooding, &deaf}) {
        ASSERT_TRUE(client->connectTo(r.path("default")));
    }
    const QByteArray one = linemessage::encode(3, "Bonjour12");
    half.socket.write(one.left(11));
    oversized.socket.write(linemessage::encode(3, QByteArray(linemessage::kMaxDataBytes + 1, 'x')));
    constexpr int kFlood = 20000;
    flooding.socket.write(one.repeated(kFlood));
    for (int answer = 0; answer < kFlood; ++answer) {
        ASSERT_EQ(flooding.reply(), linemessage::kTaken) << "answer " << answer;
    }

    deaf.socket.write(one.repeated(200000));
    for (LineMessageClient* client : {&silent, &half, &oversized, &deaf}) {
        EXPECT_TRUE(client->droppedWithin(60000));
    }
    EXPECT_LT(r.received.size(), kFlood + 200000) << "the rest of the deaf one's flood is unread";
    ASSERT_TRUE(late.connectTo(r.path("default")));
    EXPECT_EQ(late.send(3, "12"), linemessage::kTaken) << "the receiver goes on listening";

    // One that reads only after its flood, whose answers are more than the kernel holds for it.
    limits = {.idleMs = 60000, .readChunk = 1 << 16, .maxUnreadReply = 1 << 20};
    Receiver roomy(limits);
    ASSERT_EQ(roomy.server.listen(roomy.dir, {"default"}), QStringList());
    LineMessageClient lateReader;
    lateReader.socket.setReadBufferSize(linemessage::kReplyBytes);
    ASSERT_TRUE(lateReader.connectTo(roomy.path("default")));
    constexpr int kLateFlood = 100000;
    lateReader.socket.write(linemessage::encode(3, "12").repeated(kLateFlood));
    ASSERT_TRUE(QTest::qWaitFor([&] { return roomy.received.size() == kLateFlood; }, 60000));
    lateReader.socket.setReadBufferSize(0);
    for (int answer = 0; answer < kLateFlood; ++answer) {
        ASSERT_EQ(lateReader.reply(), linemessage::kTaken) << "answer " << answer;
    }
}

namespace {

sockaddr_un unixAddress(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray file = QFile::encodeName(path);
    std::memcpy(address.sun_path, file.constData(),
                std::min<size_t>(file.size(), sizeof address.sun_path - 1));
    return address;
}

} // namespace

// A thousand connections at once, each sending what a hostile program could (nothing, half a
// header, a header announcing 4 GiB or 64 KiB + 1, a header of garbage, a message of control
// characters, NULs and bytes that are not UTF-8): the program never holds more than its limit,
// says little of it, and a well-behaved sender gets through once the crowd has gone.
TEST(LineMessageServer, AThousandHostileConnectionsHoldNoMoreThanTheLimitAndASenderFollows) {
    constexpr int kCrowd = 1000;
    ASSERT_TRUE(Crowd::roomFor(kCrowd));
    Shell s;
    Engine& e = s.startEngine();
    const qsizetype logged = s.log.size();
    const sockaddr_un door = unixAddress(s.dir.file("run/default"));
    const QByteArray hostile[] = {
        {},
        linemessage::encode(3, "Bonjour12").left(5),
        QByteArray("\x03\0\0\0\xff\xff\xff\xff", 8),
        linemessage::encode(3, QByteArray(linemessage::kMaxDataBytes + 1, 'x')).left(1000),
        QByteArray("\xde\xad\xbe\xef\x02\0\0\0zz", 10),
        linemessage::encode(3, QByteArray("\x01\x1b[2J\xff\xfe\x7f\xc3(12\0\x1b", 14)),
    };
    Crowd crowd;
    int mostAtOnce = 0;
    QElapsedTimer crowding;
    crowding.start();
    for (int i = 0; i < kCrowd; ++i) {
        ASSERT_TRUE(crowd.join(reinterpret_cast<const sockaddr*>(&door), sizeof door,
                               hostile[i % std::size(hostile)]))
            << "connection " << i << ": " << std::strerror(errno);
        mostAtOnce = std::max(mostAtOnce, e.lineMessages().connectionCount());
    }
    EXPECT_EQ(mostAtOnce, LineMessageServer::Limits{}.maxConnections);

    crowd.sockets.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return e.lineMessages().connectionCount() == 0; }));
    LineMessageClient sender;
    ASSERT_TRUE(sender.connectTo(s.dir.file("run/default")));
    EXPECT_EQ(sender.send(3, "Enfin01"), linemessage::kTaken);
    EXPECT_EQ(e.state().pages.CurrentLines[1].Text, "Enfin");

    // Messages refused or taken are told a few a second; the control characters as \xHH.
    const QStringList said = s.log.mid(logged);
    EXPECT_LE(said.size(), (crowding.elapsed() / 1000 + 1) * (LineMessageLog::kLinesPerSecond + 1))
        << said.join('\n').toStdString();
    EXPECT_TRUE(said.filter("ligne 2 : \\x01\\x1b[2Jÿþ\\x7fÃ(").size() > 0)
        << said.join('\n').toStdString();
    for (const QString& line : said) {
        EXPECT_FALSE(line.contains(QChar(0x1b)) || line.contains(QChar(0))) << line.toStdString();
    }
}

namespace {

// A user account of the system made for a test, removed at its end whatever happens.
struct OtherUser {
    QString name = QStringLiteral("relayeur-essai-%1").arg(QRandomGenerator::global()->generate());
    uid_t uid = 0;
    gid_t gid = 0;
    QString none; // why there is none
    bool made = false;

    OtherUser() {
        const QString useradd = QStandardPaths::findExecutable("useradd", {"/usr/sbin", "/sbin"});
        if (::geteuid() != 0 || useradd.isEmpty()) {
            none = "making a user account takes root and useradd";
            return;
        }
        made = QProcess::execute(useradd, {"--system", "--no-create-home", name}) == 0;
        if (!made) {
            none = "useradd failed";
            return;
        }
        const passwd* user = ::getpwnam(name.toLocal8Bit().constData());
        uid = user ? user->pw_uid : 0;
        gid = user ? user->pw_gid : 0;
        if (uid == 0) {
            none = "the account made cannot be found";
        }
    }
    ~OtherUser() {
        if (made) {
            QProcess::execute(QStandardPaths::findExecutable("userdel", {"/usr/sbin", "/sbin"}),
                              {name});
        }
    }
    // What connecting to the socket at `path` as this user gives: 0, or the error.
    int connectTo(const QString& path) const {
        const sockaddr_un address = unixAddress(path);
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
                ::_exit(255);
            }
            ::_exit(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
                        ? 0
                        : errno);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

} // namespace

// Another user of the machine cannot reach the sockets: the folder keeps them out, and so does
// each socket on its own should the folder be opened.
TEST(LineMessageServer, AnotherUserCannotConnect) {
    Receiver r;
    ASSERT_EQ(r.server.listen(r.dir, {"default"}), QStringList());
    const OtherUser other;
    if (!other.none.isEmpty()) {
        GTEST_SKIP() << other.none.toStdString();
    }
    // The test's own folder is private too: open it, to see the receiver's alone at work.
    ASSERT_EQ(::chmod(QFile::encodeName(r.runtime.path()).constData(), 0755), 0);
    EXPECT_EQ(other.connectTo(r.path("default")), EACCES) << "the folder is the user's";
    ASSERT_EQ(::chmod(QFile::encodeName(r.dir).constData(), 0755), 0);
    EXPECT_EQ(other.connectTo(r.path("default")), EACCES) << "the socket is the user's";
    ASSERT_EQ(::chmod(QFile::encodeName(r.path("default")).constData(), 0777), 0);
    EXPECT_EQ(other.connectTo(r.path("default")), 0) << "opened, it would let the other in";
    EXPECT_TRUE(r.received.isEmpty());
}
