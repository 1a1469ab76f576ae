// The bytes a sender writes on a line-message socket: cut into messages (whole, then in small
// pieces, which must give the same messages), parsed, and put on a page as the window puts them,
// held ones too, with a second going by between two messages. The panel is refreshed after each
// of the first messages, then after the last: the window refreshes on its timer, so many
// messages in a row land between two refreshes anyway.
#include "FuzzSupport.h"
#include "linemessage/LineMessage.h"
#include "profile/LoadPage.h"

using linemessage::FrameReader;

namespace {

bool same(const FrameReader::Frame& a, const FrameReader::Frame& b) {
    return a.dwData == b.dwData && a.data == b.data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray stream = fuzz::bytesOf(data, size);
    // Room for the most messages the stream can hold, which otherwise grows a message at a time.
    QList<FrameReader::Frame> frames;
    frames.reserve(stream.size() / linemessage::kHeaderBytes);
    const bool usable = FrameReader().feed(stream, frames);

    FrameReader reader;
    QList<FrameReader::Frame> pieceFrames;
    pieceFrames.reserve(frames.size());
    bool piecesUsable = true;
    for (qsizetype at = 0, piece = 1; piecesUsable && at < stream.size(); at += piece) {
        piece = 1 + (at * 7 + 3) % 11;
        piecesUsable = reader.feed(
            QByteArrayView(stream).sliced(at, std::min(piece, stream.size() - at)), pieceFrames);
    }
    FUZZ_CHECK(usable == piecesUsable);
    FUZZ_CHECK(
        std::equal(frames.begin(), frames.end(), pieceFrames.begin(), pieceFrames.end(), same));

    // A page and its panel, made for the first message that asks for a line: most streams hold
    // none, and a page model is no small thing.
    std::optional<fuzz::PanelRun> run;
    // One refresh per message for as many messages as the page has lines, enough for each line to
    // change under a panel that already shows the others; refreshing after more costs a fifth of
    // the run and reaches no code those do not.
    constexpr int kRefreshedOneByOne = kLinesPerPage;
    int taken = 0;
    for (const FrameReader::Frame& frame : frames) {
        FUZZ_CHECK(frame.data.size() <= linemessage::takenBytes(frame.dwData));
        QList<FrameReader::Frame> again;
        FUZZ_CHECK(FrameReader().feed(linemessage::encode(frame.dwData, frame.data), again));
        FUZZ_CHECK(again.size() == 1 && same(again[0], frame));
        FUZZ_CHECK(linemessage::decodeReply(linemessage::encodeReply(frame.dwData)) ==
                   frame.dwData);

        const auto message = linemessage::parse(frame.dwData, frame.data);
        if (!message) {
            continue;
        }
        FUZZ_CHECK(message->line >= 0 && message->line < kLinesPerPage);
        FUZZ_CHECK(message->mode >= 0 && message->mode <= 9);
        FUZZ_CHECK(message->text.size() <= linemessage::kTakenBytes - 2);
        FUZZ_CHECK(!message->text.contains('\0'));
        FUZZ_CHECK(message->hold >= 0 && message->hold <= linemessage::kMaxHoldSeconds);
        if (!run) {
            run.emplace(20, 4);
        }
        const qint64 now = taken * 1000LL;
        releaseHeldLines(run->pages, now);
        if (message->hold > 0) {
            holdOnPage(run->pages, message->line, message->text, message->mode,
                       now + message->hold * 1000LL);
        } else {
            putOnPage(run->pages, message->line, message->text, message->mode);
        }
        if (++taken <= kRefreshedOneByOne) {
            run->tick();
        }
    }
    if (taken > kRefreshedOneByOne) {
        run->tick();
    }
    return 0;
}
