// The line-message format: what a message asks for, and how a byte stream is cut into messages.
#include "linemessage/LineMessage.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using linemessage::FrameReader;

namespace {

using Asked = std::tuple<QByteArray, int, int>; // text, mode, line

std::optional<Asked> asked(quint32 dwData, const QByteArray& data) {
    const auto m = linemessage::parse(dwData, data);
    return m ? std::optional(Asked{m->text, m->mode, m->line}) : std::nullopt;
}

} // namespace

TEST(LineMessage, TextModeAndLineComeFromTheFirst255BytesUpToTheFirstNul) {
    const QByteArray a253(253, 'a');
    const std::pair<QByteArray, std::optional<Asked>> cases[] = {
        {"Bonjour12", Asked{"Bonjour", 1, 2}},
        {"12", Asked{"", 1, 2}},
        {QByteArray("Bonjour03\0zz99", 14), Asked{"Bonjour", 0, 3}},
        {"\x01\xff\xe9"
         "90",
         Asked{"\x01\xff\xe9", 9, 0}},                           // bytes 1 to 7 and 255 are text
        {a253 + "11" + QByteArray(100, 'z'), Asked{a253, 1, 1}}, // digits at bytes 254 and 255
        {QByteArray(254, 'a') + "11", std::nullopt},             // the line digit is byte 256
        {"", std::nullopt},
        {"2", std::nullopt},
        {QByteArray("\0"
                    "12",
                    3),
         std::nullopt},
        {"Bonjour", std::nullopt},
        {"Bonjour1x", std::nullopt},
        {"Bonjourx2", std::nullopt},
        {"Bonjour14", std::nullopt},
        {"Bonjour19", std::nullopt},
        {"Bonjour1-", std::nullopt},
        {"Bonjour 2", std::nullopt},
        {QByteArray("Bon\0jour12", 10), std::nullopt}};
    for (const auto& [data, expected] : cases) {
        EXPECT_EQ(asked(3, data), expected) << data.toHex().toStdString();
    }
    for (quint32 dwData : {0u, 2u, 4u, 0x103u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(asked(dwData, "Bonjour12")) << dwData;
    }
}

TEST(LineMessage, FramesComeOutTheSameWhateverThePiecesAndAnOversizedOneStopsTheReader) {
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

    QList<FrameReader::Frame> frames;
    QByteArray header = linemessage::encode(3, QByteArray());
    header[6] = '\x01'; // cbData 65536 is still read
    EXPECT_TRUE(FrameReader().feed(header, frames));
    header[4] = '\x01'; // cbData 65537
    EXPECT_FALSE(FrameReader().feed(header, frames));
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
