// The line-message format: what a message asks for and how a byte stream is cut into messages.
#include "linemessage/LineMessage.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using linemessage::FrameReader;

TEST(LineMessage, TextModeAndLineComeFromTheFirst255BytesUpToTheFirstNul) {
    using Asked = std::tuple<QByteArray, int, int>; // text, mode, line
    const QByteArray a253(253, 'a');
    const std::pair<QByteArray, std::optional<Asked>> cases[] = {
        {"Bonjour12", Asked{"Bonjour", 1, 2}},
        {"12", Asked{"", 1, 2}},
        {QByteArray("Bonjour03\0zz99", 14), Asked{"Bonjour", 0, 3}},
        {QByteArray("\x01\xff\xe9") + "90", Asked{"\x01\xff\xe9", 9, 0}}, // any byte but 0 is text
        {a253 + "11" + QByteArray(100, 'z'), Asked{a253, 1, 1}}, // digits at bytes 254 and 255
        {QByteArray(254, 'a') + "11", std::nullopt},             // the line digit is byte 256
        {QByteArray(1, '\0') + "12", std::nullopt},
        {QByteArray("Bon\0jour12", 10), std::nullopt}};
    for (const auto& [data, expected] : cases) {
        const auto m = linemessage::parse(3, data);
        EXPECT_EQ(m ? std::optional(Asked{m->text, m->mode, m->line}) : std::nullopt, expected)
            << data.toHex().toStdString();
    }
    for (const char* data : {"", "2", "Bonjour", "Bonjour1x", "Bonjourx2", "Bonjour14", "Bonjour19",
                             "Bonjour1-", "Bonjour 2"}) {
        EXPECT_FALSE(linemessage::parse(3, data)) << data;
    }
    for (quint32 dwData : {0u, 2u, 4u, 0x103u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(linemessage::parse(dwData, "Bonjour12")) << dwData;
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
        EXPECT_EQ(std::pair(frames[0].dwData, frames[0].data),
                  std::pair(3u, QByteArray("Bonjour12")));
        EXPECT_EQ(std::pair(frames[1].dwData, frames[1].data), std::pair(7u, QByteArray()));
        EXPECT_EQ(frames[2].data, QByteArray(255, 'x')) << "only what is taken is kept";
        EXPECT_EQ(frames[3].data, QByteArray("Fin00")) << "a long message is read to its end";
    }

    QList<FrameReader::Frame> frames;
    const QByteArray longest(linemessage::kMaxDataBytes, 'x');
    EXPECT_TRUE(FrameReader().feed(linemessage::encode(3, longest), frames));
    EXPECT_FALSE(FrameReader().feed(linemessage::encode(3, longest + 'x').left(8), frames));
}

// A message that stays gives its hold in seconds first, then what a line message holds, of which
// 255 bytes are taken; what is refused says why.
TEST(LineMessage, AMessageThatStaysGivesItsHoldFirstAndWhatIsRefusedSaysWhy) {
    for (const auto& [data, hold] : {std::pair{linemessage::held(30, "Bonjour12"), 30},
                                     {linemessage::held(0, "Bonjour12"), 0}}) {
        const auto m = linemessage::parse(4, data);
        ASSERT_TRUE(m);
        EXPECT_EQ(std::tuple(m->text, m->mode, m->line, m->hold),
                  std::tuple("Bonjour", 1, 2, hold));
    }
    const std::tuple<quint32, QByteArray, QString> refused[] = {
        {4, linemessage::held(-1, "Bonjour12"), "durée de maintien de -1 s, hors de 0 à 86400 s"},
        {4, linemessage::held(86401, "12"), "durée de maintien de 86401 s, hors de 0 à 86400 s"},
        {4, QByteArray("\x05\0\0", 3), "la durée de maintien (4 octets) manque"},
        {3, "Bonjour\0332", "le mode « \\x1b » n'est pas un chiffre"}, // ESC then 2
        {7, "Bonjour12", "dwData 7 : ni 3 (message de ligne) ni 4 (message qui reste)"}};
    for (const auto& [dwData, data, why] : refused) {
        QString refusal;
        EXPECT_FALSE(linemessage::parse(dwData, data, &refusal));
        EXPECT_EQ(refusal, why);
    }
    QList<FrameReader::Frame> frames;
    ASSERT_TRUE(FrameReader().feed(
        linemessage::encode(4, linemessage::held(9, QByteArray(300, 'x') + "02")), frames));
    EXPECT_EQ(frames.value(0).data, linemessage::held(9, QByteArray(255, 'x')));
}
