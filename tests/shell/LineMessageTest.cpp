// The line-message format: what a message asks for, and how a byte stream is cut into messages.
#include "shell/LineMessage.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using linemessage::FrameReader;
using linemessage::parse;

TEST(LineMessage, TextThenModeThenLine) {
    const auto bonjour = parse(3, "Bonjour12");
    ASSERT_TRUE(bonjour);
    EXPECT_EQ(bonjour->text, QByteArray("Bonjour"));
    EXPECT_EQ(bonjour->mode, 1);
    EXPECT_EQ(bonjour->line, 2);

    const auto empty = parse(3, "12");
    ASSERT_TRUE(empty) << "the two digits alone put an empty text";
    EXPECT_TRUE(empty->text.isEmpty());

    // What follows the first NUL is not part of the message; bytes 1 to 7 and 255 are text.
    const auto terminated = parse(3, QByteArray("Bonjour03\0zz99", 14));
    ASSERT_TRUE(terminated);
    EXPECT_EQ(terminated->text, QByteArray("Bonjour"));
    EXPECT_EQ(terminated->line, 3);
    const auto controls = parse(3, QByteArray("\x01\xff\xe9", 3) + "90");
    ASSERT_TRUE(controls);
    EXPECT_EQ(controls->text, QByteArray("\x01\xff\xe9", 3));
    EXPECT_EQ(controls->mode, 9);
    EXPECT_EQ(controls->line, 0);
}

TEST(LineMessage, OnlyTheFirst255BytesCount) {
    const QByteArray text(253, 'a');
    const auto fits = parse(3, text + "11" + QByteArray(100, 'z'));
    ASSERT_TRUE(fits) << "the digits are bytes 254 and 255";
    EXPECT_EQ(fits->text, text);
    EXPECT_EQ(fits->line, 1);
    EXPECT_FALSE(parse(3, QByteArray(254, 'a') + "11")) << "the line digit is byte 256";
}

TEST(LineMessage, MalformedMessagesAskForNothing) {
    const QByteArray malformed[] = {"",
                                    "2",
                                    QByteArray("\0"
                                               "12",
                                               3),
                                    "Bonjour",
                                    "Bonjour1x",
                                    "Bonjourx2",
                                    "Bonjour14",
                                    "Bonjour19",
                                    "Bonjour1-",
                                    "Bonjour 2",
                                    QByteArray("Bon\0jour12", 10)};
    for (const QByteArray& data : malformed) {
        EXPECT_FALSE(parse(3, data)) << data.toHex().toStdString();
    }
    for (quint32 dwData : {0u, 2u, 4u, 0x103u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(parse(dwData, "Bonjour12")) << dwData;
    }
}

TEST(LineMessage, FramesComeOutTheSameWhateverThePiecesTheyArriveIn) {
    const QByteArray stream = linemessage::encode(3, "Bonjour12") + linemessage::encode(7, "") +
                              linemessage::encode(3, QByteArray(300, 'x') + "02") +
                              linemessage::encode(3, "Fin00");
    for (int piece : {1, 3, 8, 9, 100, static_cast<int>(stream.size())}) {
        FrameReader reader;
        QList<FrameReader::Frame> frames;
        for (qsizetype at = 0; at < stream.size(); at += piece) {
            ASSERT_TRUE(reader.feed(stream.mid(at, piece), frames));
        }
        ASSERT_EQ(frames.size(), 4) << "pieces of " << piece;
        EXPECT_EQ(frames[0].dwData, 3u);
        EXPECT_EQ(frames[0].data, QByteArray("Bonjour12"));
        EXPECT_EQ(frames[1].dwData, 7u);
        EXPECT_TRUE(frames[1].data.isEmpty());
        EXPECT_EQ(frames[2].data, QByteArray(255, 'x')) << "only what is taken is kept";
        EXPECT_EQ(frames[3].data, QByteArray("Fin00")) << "a long message is read to its end";
    }
}

TEST(LineMessage, ReaderWaitsForTheWholeMessageAndRefusesAnOversizedOne) {
    FrameReader reader;
    QList<FrameReader::Frame> frames;
    const QByteArray whole = linemessage::encode(3, "Bonjour12");
    ASSERT_TRUE(reader.feed(whole.left(5), frames));
    ASSERT_TRUE(reader.feed(whole.mid(5, 6), frames));
    EXPECT_TRUE(frames.isEmpty());
    ASSERT_TRUE(reader.feed(whole.mid(11), frames));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("Bonjour12"));

    FrameReader flooded;
    QByteArray header = linemessage::encode(3, QByteArray());
    header[4] = '\x01';
    header[6] = '\x01'; // cbData 65537
    EXPECT_FALSE(flooded.feed(header, frames));
    QByteArray limit = linemessage::encode(3, QByteArray());
    limit[6] = '\x01'; // cbData 65536 is still read
    EXPECT_TRUE(FrameReader().feed(limit, frames));
}

TEST(LineMessage, PrivateDirectoryIsMadeOrMendedAndNeverBorrowed) {
    TempDir base;
    auto mode = [](const QString& path) {
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    const QString made = base.file("made");
    EXPECT_EQ(linemessage::preparePrivateDir(made), QString());
    EXPECT_EQ(mode(made), 0700u);

    const QString open = base.file("open");
    ASSERT_TRUE(QDir().mkdir(open));
    ::chmod(QFile::encodeName(open).constData(), 0777);
    EXPECT_EQ(linemessage::preparePrivateDir(open), QString());
    EXPECT_EQ(mode(open), 0700u);

    // A link could lead anywhere, a file is no directory: neither is used.
    ASSERT_TRUE(QFile::link(made, base.file("link")));
    EXPECT_NE(linemessage::preparePrivateDir(base.file("link")), QString());
    base.write("file", "x");
    EXPECT_NE(linemessage::preparePrivateDir(base.file("file")), QString());
    EXPECT_NE(linemessage::preparePrivateDir(base.file("none/deeper")), QString());
}
