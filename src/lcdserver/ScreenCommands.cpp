// screen_add, screen_set and screen_del, as LCDd 0.5.9 answers them.
#include "lcdserver/CommandSupport.h"

#include <algorithm>

namespace lcdserver {
namespace {

// A number above 0 is mapped as LCDd maps the old numeric priorities; else a class name.
std::optional<ScreenPriority> priorityOf(QByteArrayView word) {
    const int number = lcdAtoi(word);
    if (number > 0) {
        return number <= 64   ? ScreenPriority::Foreground
               : number < 192 ? ScreenPriority::Info
                              : ScreenPriority::Background;
    }
    static constexpr const char* kNames[] = {"hidden",     "background", "info",
                                             "foreground", "alert",      "input"};
    for (int i = 0; i < 6; ++i) {
        if (word == kNames[i]) {
            return static_cast<ScreenPriority>(i);
        }
    }
    return std::nullopt;
}

// One option and its value; LCDd answers each option on its own line.
void setOption(Command& c, ServerScreen& s, QByteArrayView option, QByteArrayView value) {
    const int number = lcdAtoi(value);
    if (option == "name") {
        s.name = value.toByteArray();
    } else if (option == "priority") {
        const auto priority = priorityOf(value);
        if (!priority) {
            c.huh("invalid argument at -priority");
            return;
        }
        c.out.screensChanged = c.out.screensChanged || s.priority != *priority;
        s.priority = *priority;
    } else if (option == "duration" || option == "timeout") {
        if (number > 0) {
            (option == "duration" ? s.duration : s.timeout) = number;
            c.out.screensChanged = true;
        }
    } else if (option == "heartbeat") {
        if (value == "on" || value == "off" || value == "open") {
            s.heartbeat = value == "on"    ? ScreenSetting::On
                          : value == "off" ? ScreenSetting::Off
                                           : ScreenSetting::Open;
        }
    } else if (option == "wid" || option == "hgt") {
        if (number > 0) {
            (option == "wid" ? s.width : s.height) = number;
        }
    } else if (option == "backlight") {
        if (!setBacklight(s.backlight, value)) {
            c.huh("unknown backlight mode");
        }
    } else if (option == "cursor") {
        static constexpr const char* kCursors[] = {"off", "on", "under", "block"};
        for (int i = 0; i < 4; ++i) {
            if (value == kCursors[i]) {
                s.cursor = i;
            }
        }
    } else {
        const bool x = option == "cursor_x";
        const int limit = x ? (s.width > 0 ? s.width : c.screens.width)
                            : (s.height > 0 ? s.height : c.screens.height);
        if (number <= 0 || number > limit) {
            c.huh("Cursor position outside screen");
            return;
        }
        (x ? s.cursorX : s.cursorY) = number;
    }
    c.success();
}

} // namespace

void screenAdd(Command& c) {
    if (c.argc() != 2) {
        c.huh("Usage: screen_add <screenid>");
        return;
    }
    if (findOwnScreen(c.client, c.args[1])) {
        c.huh("Screen already exists");
        return;
    }
    if (c.client.screens.size() >= kMaxScreensPerClient) {
        c.huh("failed to add screen: at most " + QByteArray::number(kMaxScreensPerClient) +
              " screens per client");
        return;
    }
    ServerScreen screen;
    screen.id = c.args[1].toByteArray();
    screen.order = c.screens.nextOrder++;
    c.client.screens.push_back(std::move(screen));
    c.out.screensChanged = true;
    c.success();
}

void screenDel(Command& c) {
    if (c.argc() != 2) {
        c.huh("Usage: screen_del <screenid>");
        return;
    }
    const auto it = std::find_if(c.client.screens.begin(), c.client.screens.end(),
                                 [&](const ServerScreen& s) { return s.id == c.args[1]; });
    if (it == c.client.screens.end()) {
        c.huh("Unknown screen id");
        return;
    }
    c.client.screens.erase(it);
    c.out.screensChanged = true;
    c.success();
}

void screenSet(Command& c) {
    if (c.argc() == 1) {
        c.huh("Usage: screen_set <id> [-name <name>] [-wid <width>] [-hgt <height>]"
              " [-priority <prio>] [-duration <int>] [-timeout <int>] [-heartbeat <type>]"
              " [-backlight <type>] [-cursor <type>] [-cursor_x <xpos>] [-cursor_y <ypos>]");
        return;
    }
    if (c.argc() == 2) {
        c.huh("What do you want to set?");
        return;
    }
    ServerScreen* s = namedScreen(c, "Unknown screen id");
    if (!s) {
        return;
    }
    static constexpr const char* kOptions[] = {"name",   "priority", "duration", "heartbeat",
                                               "wid",    "hgt",      "timeout",  "backlight",
                                               "cursor", "cursor_x", "cursor_y"};
    for (qsizetype i = 2; i < c.argc(); ++i) {
        QByteArrayView option = c.args[i];
        if (option.startsWith('-')) {
            option = option.sliced(1);
        }
        if (std::none_of(std::begin(kOptions), std::end(kOptions),
                         [&](const char* o) { return option == o; })) {
            c.huh("invalid parameter");
        } else if (i + 1 >= c.argc()) {
            c.huh(joined({"-", option, " requires a parameter"}));
        } else {
            ++i;
            setOption(c, *s, option, c.args[i]);
        }
    }
}

} // namespace lcdserver

const ServerScreen* findScreen(const ClientScreens& screens, int client, const QByteArray& id) {
    const auto found = screens.clients.find(client);
    if (found == screens.clients.end()) {
        return nullptr;
    }
    const auto& own = found->second.screens;
    const auto it =
        std::find_if(own.begin(), own.end(), [&](const ServerScreen& s) { return s.id == id; });
    return it == own.end() ? nullptr : &*it;
}
