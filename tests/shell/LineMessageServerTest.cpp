// The receiving end of line messages on real local sockets: who can reach it, what it answers,
// and what it does with senders that misbehave.
#include "shell/LineMessageServer.h"

#include "shell/LineMessageClient.h"
#include "shell/LineMessageReceiver.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Receiver = LineMessageReceiver;

mode_t modeOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return info.st_mode;
}

// What a run that crashed leaves behind: a socket file that nothing listens on.
void leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), name.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

} // namespace

TEST(LineMessageServer, SocketsAreTheUsersAloneAndAnswerEveryMessage) {
    Receiver r;
    ASSERT_EQ(r.server.listen(r.dir, {"4A00007", "default"}), QStringList());
    EXPECT_EQ(r.server.socketPaths(), QStringList({r.path("4A00007"), r.path("default")}));
    EXPECT_TRUE(S_ISDIR(modeOf(r.dir)));
    EXPECT_EQ(modeOf(r.dir) & 0777, 0700u);
    for (const QString name : {"4A00007", "default"}) {
        const mode_t mode = modeOf(r.path(name));
        EXPECT_TRUE(S_ISSOCK(mode)) << name.toStdString();
        EXPECT_EQ(mode & 077, 0u) << "neither group nor others: " << std::oct << mode;
    }

    LineMessageClient byHandle;
    ASSERT_TRUE(byHandle.connectTo(r.path("4A00007")));
    EXPECT_EQ(byHandle.send(3, "Bonjour12"), linemessage::kTaken);
    EXPECT_EQ(byHandle.send(4, "Bonjour12"), linemessage::kIgnored) << "same connection, again";
    LineMessageClient byDefault;
    ASSERT_TRUE(byDefault.connectTo(r.path("default")));
    EXPECT_EQ(byDefault.send(3, QByteArray(300, 'x')), linemessage::kTaken);
    ASSERT_EQ(r.received.size(), 3);
    EXPECT_EQ(r.received[0], std::make_pair(3u, QByteArray("Bonjour12")));
    EXPECT_EQ(r.received[1].first, 4u);
    EXPECT_EQ(r.received[2].second, QByteArray(255, 'x')) << "only 255 bytes are handed on";

    r.server.close();
    EXPECT_FALSE(QFile::exists(r.path("4A00007")));
    EXPECT_FALSE(QFile::exists(r.path("default")));
    EXPECT_TRUE(byDefault.droppedWithin(5000)) << "closing ends the open connections";
}

TEST(LineMessageServer, ReplacesAStaleSocketButNeverALiveOne) {
    Receiver first;
    ASSERT_TRUE(QDir().mkpath(first.dir));
    leaveStaleSocket(first.path("default"));
    ASSERT_EQ(first.server.listen(first.dir, {"default"}), QStringList());
    LineMessageClient client;
    ASSERT_TRUE(client.connectTo(first.path("default")));
    EXPECT_EQ(client.send(3, "12"), linemessage::kTaken);

    Receiver second;
    const QStringList problems = second.server.listen(first.dir, {"default", "other"});
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith(first.path("default"))) << problems[0].toStdString();
    EXPECT_EQ(second.server.socketPaths(), QStringList({first.path("other")}));
    LineMessageClient again;
    ASSERT_TRUE(again.connectTo(first.path("default")));
    EXPECT_EQ(again.send(3, "03"), linemessage::kTaken);
    EXPECT_EQ(first.received.size(), 2) << "the live socket still belongs to the first";
    EXPECT_TRUE(second.received.isEmpty());
}

TEST(LineMessageServer, DropsSilentHalfAndOversizedSendersAndGoesOn) {
    LineMessageServer::Limits limits;
    limits.idleMs = 200;
    Receiver r(limits);
    ASSERT_EQ(r.server.listen(r.dir, {"default"}), QStringList());

    LineMessageClient silent;
    ASSERT_TRUE(silent.connectTo(r.path("default")));
    LineMessageClient half;
    ASSERT_TRUE(half.connectTo(r.path("default")));
    half.write(linemessage::encode(3, "Bonjour12").left(11));
    LineMessageClient oversized;
    ASSERT_TRUE(oversized.connectTo(r.path("default")));
    oversized.write(linemessage::encode(3, QByteArray(linemessage::kMaxDataBytes + 1, 'x')));

    EXPECT_TRUE(oversized.droppedWithin(5000));
    EXPECT_TRUE(silent.droppedWithin(5000));
    EXPECT_TRUE(half.droppedWithin(5000));
    EXPECT_TRUE(r.received.isEmpty());

    // A sender that keeps sending stays; the receiver still serves newcomers.
    LineMessageClient steady;
    ASSERT_TRUE(steady.connectTo(r.path("default")));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(steady.send(3, "12"), linemessage::kTaken);
    }
    EXPECT_EQ(r.received.size(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return r.server.connectionCount() == 1; }, 5000));
}

TEST(LineMessageServer, KeepsToItsNumberOfConnections) {
    LineMessageServer::Limits limits;
    limits.maxConnections = 2;
    Receiver r(limits);
    ASSERT_EQ(r.server.listen(r.dir, {"default"}), QStringList());
    LineMessageClient one;
    LineMessageClient two;
    ASSERT_TRUE(one.connectTo(r.path("default")));
    ASSERT_TRUE(two.connectTo(r.path("default")));
    EXPECT_EQ(one.send(3, "12"), linemessage::kTaken);
    EXPECT_EQ(two.send(3, "12"), linemessage::kTaken);

    LineMessageClient third;
    ASSERT_TRUE(third.connectTo(r.path("default"))); // the kernel accepts it, the receiver not
    EXPECT_TRUE(third.droppedWithin(5000));
    EXPECT_EQ(r.server.connectionCount(), 2);

    one.socket.disconnectFromServer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.server.connectionCount() == 1; }, 5000));
    LineMessageClient fourth;
    ASSERT_TRUE(fourth.connectTo(r.path("default")));
    EXPECT_EQ(fourth.send(3, "12"), linemessage::kTaken);
}

TEST(LineMessageServer, AFloodIsServedInTurnAndASenderThatNeverReadsIsDropped) {
    Receiver r;
    ASSERT_EQ(r.server.listen(r.dir, {"default"}), QStringList());
    const QByteArray one = linemessage::encode(3, "Bonjour12");

    LineMessageClient reading;
    ASSERT_TRUE(reading.connectTo(r.path("default")));
    constexpr int kFlood = 20000;
    reading.write(one.repeated(kFlood));
    int answers = 0;
    while (answers < kFlood && reading.reply() == linemessage::kTaken) {
        ++answers;
    }
    EXPECT_EQ(answers, kFlood);
    EXPECT_EQ(r.received.size(), kFlood);

    LineMessageClient deaf;
    deaf.socket.setReadBufferSize(linemessage::kReplyBytes); // takes in one answer, no more
    ASSERT_TRUE(deaf.connectTo(r.path("default")));
    deaf.write(one.repeated(200000));
    EXPECT_TRUE(deaf.droppedWithin(60000));
    EXPECT_LT(r.received.size(), kFlood + 200000) << "the rest of the flood is never read";
    EXPECT_EQ(r.server.socketPaths().size(), 1) << "the receiver goes on listening";
}
