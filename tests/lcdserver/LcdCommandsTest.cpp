// The answers of Relayeur's LCDd server, line by line, as LCDd 0.5.9 gives them.
#include "lcdserver/ClientScreens.h"
#include "lcdserver/LcdCommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    int client;
    QByteArray line;
    QByteArray answer;
};

struct Session {
    ClientScreens screens;
    Session() {
        screens.clients[1];
        screens.clients[2];
    }
    CommandOutcome send(int client, const QByteArray& line) {
        return runCommand(screens, client, line, 0);
    }
    // Both clients greeted, client 1 with a screen "s".
    static Session greeted() {
        Session session;
        session.send(1, "hello");
        session.send(2, "hello");
        session.send(1, "screen_add s");
        return session;
    }
    void play(const std::vector<Exchange>& exchanges) {
        for (const Exchange& e : exchanges) {
            EXPECT_EQ(send(e.client, e.line).reply, e.answer) << e.line.toStdString();
        }
    }
};

constexpr char kConnect[] =
    "connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4 cellwid 5 cellhgt 8\n";

TEST(LcdCommandLine, SplitsAsLcddDoes) {
    const std::vector<std::pair<QByteArray, std::optional<QByteArrayList>>> rows = {
        {"widget_set s w 1 2 \"Hello world\"", {{"widget_set", "s", "w", "1", "2", "Hello world"}}},
        {"a {b \"c\" d}  {} e", {{"a", "b \"c\" d", "", "e"}}},
        {"ab\"cd\"ef", {{"abcd", "ef"}}},
        {"a\\ b\\nc \\{x\\}", {{"a b\nc", "{x}"}}},
        {"\ta\r b ", {{"a", "b"}}},
        {QByteArray("a b\0c d", 7), {{"a", "b"}}},
        {"a b\nc d", {{"a", "b"}}},
        {"say \"open", std::nullopt},
        {"say {open", std::nullopt},
        {"end\\", std::nullopt},
        {QByteArray("x ").repeated(39), QByteArrayList(39, "x")},
        {QByteArray("x ").repeated(40), std::nullopt},
    };
    for (const auto& [line, words] : rows) {
        const LcdWords split(line);
        std::optional<QByteArrayList> got;
        if (split.parsed()) {
            got.emplace();
            for (qsizetype i = 0; i < split.size(); ++i) {
                got->append(split[i].toByteArray());
            }
        }
        EXPECT_EQ(got, words) << line.toStdString();
    }
}

TEST(LcdCommands, ClientAndServerCommands) {
    Session session;
    session.play({
        {1, "screen_add s", "huh? Function returned error \"screen_add\"\n"},
        {1, "noop", "huh? Function returned error \"noop\"\n"},
        {1, "frobnicate now", "huh? Invalid command \"frobnicate\"\n"},
        {1, "key_add s Up", "huh? Invalid command \"key_add\"\n"},
        {1, "say {open", "huh? Could not parse command\n"},
        {1, "  ", "huh? Invalid command \"(null)\"\n"},
        {1, "", ""},
        {1, "hello there", QByteArray("huh? extra parameters ignored\n") + kConnect},
        {1, "hello", kConnect},
        {1, "noop", "noop complete\n"},
        {1, "info", "Relayeur\n"},
        {1, "client_set name", "huh? Usage: client_set -name <name>\n"},
        {1, "client_set -foo bar", "huh? invalid parameter (foo)\nhuh? invalid parameter (bar)\n"},
        {1, "client_set -foo name",
         "huh? invalid parameter (foo)\nhuh? internal error: no parameter #3\n"},
        {1, "backlight", "huh? Usage: backlight {on|off|toggle|blink|flash}\n"},
        {1, "backlight off", "success\n"},
        {1, "backlight toggle", "success\n"},
        {1, "output", "huh? Usage: output {on|off|<num>}\n"},
        {1, "output 12abc", "huh? invalid parameter...\n"},
        {1, "output 99999999999999999999", "huh? number argument: Numerical result out of range\n"},
        {1, "output 0x12", "success\n"},
        {1, "sleep 100", "sleeping 60 seconds\nhuh? ignored (not fully implemented)\n"},
        {1, "sleep", "huh? Usage: sleep <secs>\n"},
        {1, "menu_add_item {} ask menu {Leave menus?}", "success\n"},
    });
    EXPECT_EQ(session.screens.outputs, 0x12);
    EXPECT_EQ(session.screens.clients[1].backlight, ScreenSetting::On);

    const CommandOutcome named = session.send(1, "client_set -name {Café}");
    EXPECT_EQ(named.reply, "success\n");
    EXPECT_EQ(named.named, QStringLiteral("Café"));
    EXPECT_TRUE(session.send(2, "bye").quit); // taken before "hello" too
}

TEST(LcdCommands, ScreensBelongToTheirClient) {
    Session session = Session::greeted();
    session.play({
        {1, "screen_add s", "huh? Screen already exists\n"},
        {1, "screen_add", "huh? Usage: screen_add <screenid>\n"},
        {1, "screen_del x", "huh? Unknown screen id\n"},
        {1, "screen_set s", "huh? What do you want to set?\n"},
        {1, "screen_set x -name y", "huh? Unknown screen id\n"},
        {1, "screen_set s -name Load -duration 16 -heartbeat on -wid 30",
         "success\nsuccess\nsuccess\nsuccess\n"},
        {1, "screen_set s -priority 0", "huh? invalid argument at -priority\n"},
        {1, "screen_set s -priority", "huh? -priority requires a parameter\n"},
        {1, "screen_set s -bogus 1", "huh? invalid parameter\nhuh? invalid parameter\n"},
        {1, "screen_set s -backlight funky", "huh? unknown backlight mode\nsuccess\n"},
        {1, "screen_set s cursor_x 30 cursor_y 5",
         "success\nhuh? Cursor position outside screen\n"},
        {2, "screen_set s -name mine", "huh? Unknown screen id\n"},
        {2, "widget_add s w string", "huh? Invalid screen id\n"},
        {2, "screen_del s", "huh? Unknown screen id\n"},
        {2, "screen_add s", "success\n"},
    });
    const ServerScreen& s = *findScreen(session.screens, 1, "s");
    EXPECT_EQ(s.name, "Load");
    EXPECT_EQ(s.duration, 16);
    EXPECT_EQ(s.heartbeat, ScreenSetting::On);
    EXPECT_EQ(s.cursorX, 30);

    // LCDd's numbers for the old priorities, and its class names.
    const std::vector<std::pair<QByteArray, ScreenPriority>> priorities = {
        {"1", ScreenPriority::Foreground}, {"64", ScreenPriority::Foreground},
        {"65", ScreenPriority::Info},      {"192", ScreenPriority::Background},
        {"alert", ScreenPriority::Alert},  {"hidden", ScreenPriority::Hidden}};
    for (const auto& [word, priority] : priorities) {
        const ScreenPriority before = findScreen(session.screens, 1, "s")->priority;
        EXPECT_EQ(session.send(1, "screen_set s -priority " + word).screensChanged,
                  before != priority);
        EXPECT_EQ(findScreen(session.screens, 1, "s")->priority, priority) << word.toStdString();
    }
    EXPECT_FALSE(session.send(1, "screen_set s -name again").screensChanged);
    EXPECT_TRUE(session.send(1, "screen_del s").screensChanged);
    EXPECT_EQ(findScreen(session.screens, 1, "s"), nullptr);
    EXPECT_NE(findScreen(session.screens, 2, "s"), nullptr);

    for (int i = 0; i < kMaxScreensPerClient; ++i) {
        session.send(1, "screen_add " + QByteArray::number(i));
    }
    EXPECT_EQ(session.send(1, "screen_add more").reply,
              "huh? failed to add screen: at most 64 screens per client\n");
}

TEST(LcdCommands, Widgets) {
    Session session = Session::greeted();
    session.play({
        {1, "widget_add s w",
         "huh? Usage: widget_add <screenid> <widgetid> <widgettype> [-in <id>]\n"},
        {1, "widget_add s w none", "huh? Invalid widget type\n"},
        {1, "widget_add s w string", "success\n"},
        {1, "widget_add s w hbar", "success\n"},
        {1, "widget_add s i string -in f", "huh? Error finding frame\n"},
        {1, "widget_add s i string -in w", "huh? Error finding frame\n"},
        {1, "widget_add s i string in", "huh? Specify a frame to place widget in\n"},
        {1, "widget_add s f frame", "success\n"},
        {1, "widget_add s i string -in f", "success\n"},
        {1, "widget_add s g frame in f", "success\n"},
        {1, "widget_add s j icon -in g", "success\n"},
        {1, "widget_set s",
         "huh? Usage: widget_set <screenid> <widgetid> <widget-SPECIFIC-data>\n"},
        {1, "widget_set x w 1 1 a", "huh? Unknown screen id\n"},
        {1, "widget_set s nope 1 1 a", "huh? Unknown widget id\n"},
        {1, "widget_set s w 1 1", "huh? Wrong number of arguments\n"},
        {1, "widget_set s w x 1 a", "huh? Invalid coordinates\n"},
        {1, "widget_set s w 2 3 {a b}", "success\n"},
        {1, "widget_add s h hbar", "success\n"},
        {1, "widget_set s h -1 1 10", "huh? Invalid coordinates\nsuccess\n"},
        {1, "widget_set s j 1 1 SPADE", "huh? Invalid icon name\n"},
        {1, "widget_set s j 1 1 heart_open", "success\n"},
        {1, "widget_add s sc scroller", "success\n"},
        {1, "widget_set s sc 1 1 20 1 x 1 text", "huh? Invalid direction\n"},
        {1, "widget_set s f 1 1 20 4 20 8 m 1", "huh? Invalid direction\n"},
        {1, "widget_add s n num", "success\n"},
        {1, "widget_set s n 1 x", "huh? Invalid number\nsuccess\n"},
        {1, "widget_del s", "huh? Usage: widget_del <screenid> <widgetid>\n"},
        {1, "widget_del s f", "success\n"},
        {1, "widget_del s j", "huh? Invalid widget id\n"},
    });
    const ServerScreen& s = *findScreen(session.screens, 1, "s");
    ASSERT_EQ(s.widgets.size(), 4u); // the frame went with its string, inner frame and icon
    EXPECT_EQ(s.widgets[0].type, WidgetType::String);
    EXPECT_EQ(s.widgets[0].text, "a b");

    for (int i = 4; i < kMaxWidgetsPerScreen; ++i) {
        session.send(1, "widget_add s " + QByteArray::number(i) + " string");
    }
    EXPECT_EQ(session.send(1, "widget_add s more string").reply,
              "huh? Error adding widget: at most 256 widgets per screen\n");
}

TEST(LcdCommands, KeysGoToTheExclusiveHolderElseToTheShownClient) {
    Session session = Session::greeted();
    session.play({
        {1, "client_add_key", "huh? Usage: client_add_key [-exclusively|-shared] {<key>}+\n"},
        {1, "client_add_key -exclusively Up", "success\n"},
        {2, "client_add_key Up Enter", "huh? Could not reserve key \"Up\"\nsuccess\n"},
        {1, "client_add_key -shared Enter", "success\n"},
        {1, "client_add_key -exclusively Enter", "huh? Could not reserve key \"Enter\"\nsuccess\n"},
        {1, "client_add_key -bogus Left", "huh? Invalid option: -bogus\nsuccess\n"},
    });
    EXPECT_EQ(keyTaker(session.screens, "Up", 2), 1);
    EXPECT_EQ(keyTaker(session.screens, "Enter", 2), 2);
    EXPECT_EQ(keyTaker(session.screens, "Enter", 1), 1);
    EXPECT_EQ(keyTaker(session.screens, "Enter", std::nullopt), std::nullopt);
    EXPECT_EQ(keyTaker(session.screens, "Left", 1), 1);
    EXPECT_EQ(keyTaker(session.screens, "Down", 1), std::nullopt);

    EXPECT_EQ(session.send(1, "client_del_key Up").reply, "success\n");
    EXPECT_EQ(keyTaker(session.screens, "Up", 2), std::nullopt);
    EXPECT_EQ(session.send(2, "client_add_key -exclusively Up").reply, "success\n");
    EXPECT_EQ(keyTaker(session.screens, "Up", 1), 2);

    for (int i = 0; i < kMaxKeysPerClient; ++i) {
        session.send(2, "client_add_key K" + QByteArray::number(i));
    }
    EXPECT_EQ(session.send(2, "client_add_key Last").reply,
              "huh? Could not reserve key \"Last\"\nsuccess\n");
}

} // namespace
