// The LCDd commands about the client itself and the server, and the dispatch of every line.
#include "lcdserver/ClientScreens.h"
#include "lcdserver/CommandSupport.h"
#include "lcdserver/LcdCommandLine.h"
#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <iterator>

namespace lcdserver {
namespace {

void hello(Command& c) {
    if (c.argc() > 1) {
        c.huh("extra parameters ignored");
    }
    // The sizes are written on the stack, the answer made in one allocation.
    char width[12];
    char height[12];
    const char* const widthEnd = std::to_chars(width, std::end(width), c.screens.width).ptr;
    const char* const heightEnd = std::to_chars(height, std::end(height), c.screens.height).ptr;
    c.answer(joined({"connect LCDproc 0.5.9 protocol 0.3 lcd wid ", QByteArrayView(width, widthEnd),
                     " hgt ", QByteArrayView(height, heightEnd), " cellwid 5 cellhgt 8"}));
    c.client.greeted = true;
}

QString nameText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? ansi::toUnicode(bytes.toByteArray()) : text;
}

// LCDd reads the options in a loop that goes on after a bad one, the next word taken as an option.
void clientSet(Command& c) {
    if (c.argc() != 3) {
        c.huh("Usage: client_set -name <name>");
        return;
    }
    for (qsizetype i = 1; i < c.argc(); ++i) {
        QByteArrayView option = c.args[i];
        if (option.startsWith('-')) {
            option = option.sliced(1);
        }
        if (option != "name") {
            c.huh("invalid parameter (" + echoed(option) + ")");
        } else if (++i >= c.argc()) {
            c.huh("internal error: no parameter #" + QByteArray::number(i));
        } else {
            c.client.name = nameText(c.args[i]);
            c.out.named = c.client.name;
            c.success();
        }
    }
}

bool holdsKey(const ServerClient& client, QByteArrayView key) {
    return client.sharedKeys.contains(key) || client.exclusiveKeys.contains(key);
}

// LCDd refuses a key that someone holds exclusively, or that someone holds at all when this
// reservation would be exclusive.
bool reserveKey(Command& c, QByteArrayView key, bool exclusively) {
    for (const auto& [id, other] : c.screens.clients) {
        if (other.exclusiveKeys.contains(key) || (exclusively && other.sharedKeys.contains(key))) {
            return false;
        }
    }
    if (holdsKey(c.client, key)) {
        return true;
    }
    if (c.client.sharedKeys.size() + c.client.exclusiveKeys.size() >= kMaxKeysPerClient) {
        return false;
    }
    (exclusively ? c.client.exclusiveKeys : c.client.sharedKeys).append(key.toByteArray());
    return true;
}

void clientAddKey(Command& c) {
    if (c.argc() < 2) {
        c.huh("Usage: client_add_key [-exclusively|-shared] {<key>}+");
        return;
    }
    qsizetype first = 1;
    bool exclusively = false;
    if (c.args[1].startsWith('-')) {
        if (c.args[1] == "-exclusively") {
            exclusively = true;
        } else if (c.args[1] != "-shared") {
            c.huh("Invalid option: " + echoed(c.args[1]));
        }
        first = 2;
    }
    for (qsizetype i = first; i < c.argc(); ++i) {
        if (!reserveKey(c, c.args[i], exclusively)) {
            c.huh("Could not reserve key \"" + echoed(c.args[i]) + "\"");
        }
    }
    c.success();
}

void clientDelKey(Command& c) {
    if (c.argc() < 2) {
        c.huh("Usage: client_del_key {<key>}+");
        return;
    }
    for (qsizetype i = 1; i < c.argc(); ++i) {
        c.client.sharedKeys.removeOne(c.args[i]);
        c.client.exclusiveKeys.removeOne(c.args[i]);
    }
    c.success();
}

void backlight(Command& c) {
    if (c.argc() != 2) {
        c.huh("Usage: backlight {on|off|toggle|blink|flash}");
        return;
    }
    setBacklight(c.client.backlight, c.args[1]);
    c.success();
}

// strtol with base 0, as LCDd reads "output" and "sleep": false after answering the error.
bool readLong(Command& c, QByteArrayView word, long& value) {
    // strtol reads up to a NUL, which a word of the line does not have.
    QVarLengthArray<char, 64> text(word.begin(), word.end());
    text.append('\0');
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.data(), &end, 0);
    if (errno == ERANGE) {
        c.huh("number argument: Numerical result out of range");
        return false;
    }
    if (word.isEmpty() || *end != '\0') {
        c.huh("invalid parameter...");
        return false;
    }
    return true;
}

void output(Command& c) {
    if (c.argc() != 2) {
        c.huh("Usage: output {on|off|<num>}");
        return;
    }
    long value = 0;
    if (c.args[1] == "on") {
        value = -1;
    } else if (c.args[1] != "off" && !readLong(c, c.args[1], value)) {
        return;
    }
    c.screens.outputs = static_cast<int>(value);
    c.success();
}

void info(Command& c) {
    if (c.argc() > 1) {
        c.huh("Extra arguments ignored...");
    }
    c.answer("Relayeur");
}

void noop(Command& c) {
    c.answer("noop complete");
}

// LCDd answers how long it would sleep, then that it does not.
void sleepCommand(Command& c) {
    if (c.argc() != 2) {
        c.huh("Usage: sleep <secs>");
        return;
    }
    long seconds = 0;
    if (!readLong(c, c.args[1], seconds)) {
        return;
    }
    c.answer("sleeping " + QByteArray::number(std::clamp(seconds, 1L, 60L)) + " seconds");
    c.huh("ignored (not fully implemented)");
}

void bye(Command& c) {
    c.out.quit = true;
}

// Relayeur shows no menus; the menu commands are taken without effect, so that clients that
// build one (lcdproc, lcdexec) go on as with an LCDd whose menu the user never opens.
void menu(Command& c) {
    c.success();
}

struct CommandEntry {
    QByteArrayView word; // its length tells most words apart without comparing them
    void (*run)(Command&);
};

constexpr CommandEntry kCommands[] = {
    {"hello", hello},
    {"client_set", clientSet},
    {"client_add_key", clientAddKey},
    {"client_del_key", clientDelKey},
    {"screen_add", screenAdd},
    {"screen_del", screenDel},
    {"screen_set", screenSet},
    {"widget_add", widgetAdd},
    {"widget_del", widgetDel},
    {"widget_set", widgetSet},
    {"menu_add_item", menu},
    {"menu_del_item", menu},
    {"menu_set_item", menu},
    {"menu_goto", menu},
    {"menu_set_main", menu},
    {"backlight", backlight},
    {"output", output},
    {"noop", noop},
    {"info", info},
    {"sleep", sleepCommand},
    {"bye", bye},
};

} // namespace
} // namespace lcdserver

using namespace lcdserver;

CommandOutcome runCommand(ClientScreens& screens, int client, const QByteArray& line, qint64 tick) {
    CommandOutcome out;
    const auto found = screens.clients.find(client);
    if (found == screens.clients.end()) {
        return out;
    }
    ServerClient& who = found->second;
    const LcdWords words(line);
    if (!words.parsed()) {
        out.reply = "huh? Could not parse command\n";
        return out;
    }
    if (words.isEmpty()) {
        // LCDd drops an empty line, and hands printf the missing word of a blank one.
        if (!line.isEmpty() && line[0] != '\n' && line[0] != '\0') {
            out.reply = "huh? Invalid command \"(null)\"\n";
        }
        return out;
    }
    const QByteArrayView word = words[0];
    const auto entry = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const CommandEntry& e) { return word == e.word; });
    if (entry == std::end(kCommands)) {
        out.reply = joined({"huh? Invalid command \"",
                            echoed(word.first(std::min<qsizetype>(word.size(), 40))), "\"\n"});
        return out;
    }
    // Until "hello", LCDd's commands refuse to run; "bye" is always taken.
    if (!who.greeted && entry->run != hello && entry->run != bye) {
        out.reply = joined({"huh? Function returned error \"", word, "\"\n"});
        return out;
    }
    Command command{screens, who, words, tick, out};
    entry->run(command);
    return out;
}

std::optional<int> keyTaker(const ClientScreens& screens, const QByteArray& key,
                            std::optional<int> shownClient) {
    for (const auto& [id, client] : screens.clients) {
        if (client.exclusiveKeys.contains(key)) {
            return id;
        }
    }
    if (shownClient) {
        const auto shown = screens.clients.find(*shownClient);
        if (shown != screens.clients.end() && shown->second.sharedKeys.contains(key)) {
            return *shownClient;
        }
    }
    return std::nullopt;
}
