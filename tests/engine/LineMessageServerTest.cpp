// The receiving end of line messages on real local sockets: who can reach it, what it answers,
// and what it does with senders that misbehave.
#include "engine/LineMessageServer.h"

#include "engine/LineMessageClient.h"
#include "engine/LineMessageReceiver.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QLocalServer>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
