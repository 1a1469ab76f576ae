#pragma once

#include "model/Frame.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <map>
#include <optional>
#include <vector>

// What the clients of Relayeur's LCDd server have made: their screens and widgets, and the keys
// they asked for. Commands change it; the page rotation reads it and draws a screen into a frame.
// Plain data: the connections live elsewhere, so that a test builds any state it wants.

// LCDd's priority classes, in rising order.
enum class ScreenPriority { Hidden, Background, Info, Foreground, Alert, Input };

enum class WidgetType { String, Title, HBar, VBar, Icon, Scroller, Frame, Num };

struct ServerWidget {
    QByteArray id;
    WidgetType type = WidgetType::String;
    QByteArray in; // the frame widget that holds it; empty: the screen itself
    // Positions are LCDd's, from 1. A scroller or a frame spans left/top to right/bottom.
    int left = 1;
    int top = 1;
    int right = 0;
    int bottom = 0;
    int length = 0;       // hbar and vbar: pixels; num: the digit (10 is the colon)
    QByteArray text;      // string, title, scroller: Windows-1252; icon: its name as sent
    char direction = 'h'; // scroller: h, v or m; frame: h or v
    int speed = 1;        // scroller and frame, as LCDd takes it (negative: slower)
    int width = 0;        // frame: its inner size
    int height = 0;
    qint64 setAt = 0; // where its scroll starts: the last widget_set that changed it
};

enum class ScreenSetting { Open, On, Off, Toggle, Blink, Flash };

struct ServerScreen {
    QByteArray id;
    QByteArray name;
    ScreenPriority priority = ScreenPriority::Info;
    int duration = 0; // in eighths of a second; 0: not set by the client
    int timeout = -1; // in eighths of a second, counted while shown; -1: none
    ScreenSetting heartbeat = ScreenSetting::Open;
    ScreenSetting backlight = ScreenSetting::Open;
    int cursor = 0; // 0 off, 1 on, 2 under, 3 block
    int cursorX = 1;
    int cursorY = 1;
    int width = 0; // as -wid and -hgt set them; 0: the panel's. A taller screen scrolls.
    int height = 0;
    std::vector<ServerWidget> widgets; // in the order they were added, which is the drawing order
    quint64 order = 0;                 // when it was added, across every client
};

struct ServerClient {
    QString name;         // as client_set named it; empty until then
    bool greeted = false; // "hello" came; nothing else is taken before
    std::vector<ServerScreen> screens;
    QByteArrayList sharedKeys;
    QByteArrayList exclusiveKeys;
    ScreenSetting backlight = ScreenSetting::Open; // the client's "backlight" command
};

struct ClientScreens {
    int width = 20; // the panel's size in cells, as "hello" tells it
    int height = 4;
    std::map<int, ServerClient> clients; // by connection number
    quint64 nextOrder = 1;
    int outputs = 0; // the last "output" value
};

inline constexpr int kMaxScreensPerClient = 64;
inline constexpr int kMaxWidgetsPerScreen = 256;
inline constexpr int kMaxKeysPerClient = 64;

// What one command line did.
struct CommandOutcome {
    QByteArray reply; // LCDd's answer, each line ended by '\n'; empty when it answers nothing
    std::optional<QString> named; // client_set gave the client this name
    bool screensChanged = false;  // a screen came, went, or changed priority or duration
    bool quit = false;            // the client said "bye"
};

// Carries out one line of the client `client` (which must exist in `screens.clients`), as LCDd
// 0.5 does, at `tick` (eighths of a second since the server started). Words are split as LCDd
// splits them; strings are read as UTF-8 when they are valid UTF-8, else Latin-1, and kept in
// Windows-1252.
CommandOutcome runCommand(ClientScreens& screens, int client, const QByteArray& line, qint64 tick);

// The screen `id` of `client`; none when either is gone.
const ServerScreen* findScreen(const ClientScreens& screens, int client, const QByteArray& id);

// The client that gets `key` while `shown` (a client and one of its screens, or none) is on the
// panel: the one that reserved it exclusively, else the shown screen's client when it reserved it
// shared; none when the program keeps the key.
std::optional<int> keyTaker(const ClientScreens& screens, const QByteArray& key,
                            std::optional<int> shownClient);

// The screen drawn as LCDd draws it at `tick`: `lines` rows of `width` cells in Windows-1252,
// with the full block 255 and the big-digit glyph codes 0-5 where the widgets need them.
Frame drawScreen(const ServerScreen& screen, int width, int lines, qint64 tick);
