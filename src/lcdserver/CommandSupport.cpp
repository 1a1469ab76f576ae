#include "lcdserver/CommandSupport.h"

#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <algorithm>

namespace lcdserver {

QByteArray echoed(QByteArrayView word) {
    QByteArray text = word.toByteArray();
    text.replace('\n', ' ');
    return text;
}

int lcdAtoi(QByteArrayView word) {
    qsizetype i = 0;
    while (i < word.size() && (word[i] == ' ' || (word[i] >= '\t' && word[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    qint64 value = 0;
    for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        value = std::min<qint64>(value * 10 + (word[i] - '0'), kLargestNumber);
    }
    return static_cast<int>(negative ? -value : value);
}

bool startsWithDigit(QByteArrayView word) {
    return !word.isEmpty() && word[0] >= '0' && word[0] <= '9';
}

QByteArray clientText(QByteArrayView word) {
    QByteArray text = word.toByteArray();
    if (std::any_of(word.begin(), word.end(), [](char c) { return c & 0x80; })) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = utf8.decode(word);
        if (!utf8.hasError()) {
            text = ansi::fromUnicode(decoded);
        }
    }
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

ServerScreen* findOwnScreen(ServerClient& client, QByteArrayView id) {
    const auto it = std::find_if(client.screens.begin(), client.screens.end(),
                                 [&](const ServerScreen& s) { return s.id == id; });
    return it == client.screens.end() ? nullptr : &*it;
}

ServerScreen* namedScreen(Command& c, QByteArrayView unknown) {
    ServerScreen* s = findOwnScreen(c.client, c.args[1]);
    if (!s) {
        c.huh(unknown);
    }
    return s;
}

bool setBacklight(ScreenSetting& setting, QByteArrayView mode) {
    if (mode == "toggle") {
        if (setting == ScreenSetting::On || setting == ScreenSetting::Off) {
            setting = setting == ScreenSetting::On ? ScreenSetting::Off : ScreenSetting::On;
        }
        return true;
    }
    static constexpr std::pair<const char*, ScreenSetting> kModes[] = {
        {"on", ScreenSetting::On},
        {"off", ScreenSetting::Off},
        {"blink", ScreenSetting::Blink},
        {"flash", ScreenSetting::Flash},
        {"open", ScreenSetting::Open}};
    for (const auto& [word, value] : kModes) {
        if (mode == word) {
            setting = value;
            return true;
        }
    }
    return false;
}

} // namespace lcdserver
