// Lines from two LCDd clients, as the server takes them: each line of the input goes to client 1
// or 2 by its first byte, an eighth of a second after the one before. Every screen is then drawn
// on a 20x4 and a 40x2 panel at two ticks, and the state checked against the server's limits.
#include "FuzzSupport.h"
#include "lcdserver/ClientScreens.h"

#include <algorithm>
#include <set>

namespace {

void checkClient(const ServerClient& client) {
    FUZZ_CHECK(client.screens.size() <= size_t(kMaxScreensPerClient));
    FUZZ_CHECK(client.sharedKeys.size() + client.exclusiveKeys.size() <= kMaxKeysPerClient);
    for (const ServerScreen& screen : client.screens) {
        FUZZ_CHECK(screen.widgets.size() <= size_t(kMaxWidgetsPerScreen));
        std::set<QByteArray> frames;
        for (const ServerWidget& w : screen.widgets) {
            // A widget sits in a frame added before it, which is still there.
            FUZZ_CHECK(w.in.isEmpty() || frames.count(w.in));
            if (w.type == WidgetType::Frame) {
                frames.insert(w.id);
            }
        }
    }
}

void checkDrawing(const ServerScreen& screen, int width, int lines, qint64 tick) {
    const Frame frame = drawScreen(screen, width, lines, tick);
    FUZZ_CHECK(frame.lines == lines);
    for (int row = 0; row < lines; ++row) {
        FUZZ_CHECK(frame.rows[row] && frame.rows[row]->size() == width);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What a few dozen commands reach, longer inputs reach too, only slower: the first 2 KiB.
    const QByteArray input = fuzz::bytesOf(data, std::min<size_t>(size, 2048));
    ClientScreens screens;
    screens.clients[1];
    screens.clients[2];
    qint64 tick = 0;
    for (qsizetype start = 0, end = 0; start < input.size(); start = end + 1) {
        end = input.indexOf('\n', start);
        if (end < 0) {
            end = input.size();
        }
        if (end == start) {
            continue;
        }
        const int client = 1 + (input[start] & 1);
        const QByteArray line =
            QByteArray::fromRawData(input.constData() + start + 1, end - start - 1);
        const CommandOutcome out = runCommand(screens, client, line, ++tick);
        FUZZ_CHECK(out.reply.isEmpty() || out.reply.endsWith('\n'));
        FUZZ_CHECK(!out.named || screens.clients[client].name == *out.named);
    }
    for (const auto& [id, client] : screens.clients) {
        checkClient(client);
        for (const ServerScreen& screen : client.screens) {
            FUZZ_CHECK(findScreen(screens, id, screen.id) == &screen);
            // Drawing costs most: once as set, once far into its scrolls on another size.
            checkDrawing(screen, 20, 4, tick);
            checkDrawing(screen, 40, 2, tick + 1001);
        }
    }
    return 0;
}
