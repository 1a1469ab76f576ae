#pragma once

// What the command groups share: the line being carried out and LCDd's ways of answering and of
// reading numbers.

#include "lcdserver/ClientScreens.h"
#include "lcdserver/LcdCommandLine.h"

#include <QByteArrayView>
#include <initializer_list>

namespace lcdserver {

// The parts one after the other, made in one allocation: most lines a client sends get an answer.
inline QByteArray joined(std::initializer_list<QByteArrayView> parts) {
    qsizetype size = 0;
    for (const QByteArrayView part : parts) {
        size += part.size();
    }
    QByteArray text;
    text.reserve(size);
    for (const QByteArrayView part : parts) {
        text.append(part);
    }
    return text;
}

struct Command {
    ClientScreens& screens;
    ServerClient& client;
    const LcdWords& args; // args[0] is the command word
    qint64 tick;
    CommandOutcome& out;

    qsizetype argc() const { return args.size(); }
    void answer(QByteArrayView text) { out.reply += joined({text, "\n"}); }
    // LCDd's error form: "huh? " and the text.
    void huh(QByteArrayView text) { out.reply += joined({"huh? ", text, "\n"}); }
    void success() { out.reply.append("success\n"); }
};

// An argument echoed in an answer stays on the answer's line.
QByteArray echoed(QByteArrayView word);

// atoi: blanks, a sign and the digits that follow; anything else ends it. Kept within
// ±kLargestNumber, far beyond any panel, so that no sum made of it overflows.
inline constexpr int kLargestNumber = 1'000'000;
int lcdAtoi(QByteArrayView word);
// LCDd checks that coordinates start with a digit before it reads them.
bool startsWithDigit(QByteArrayView word);

// A string from a client, as the panel shows it: UTF-8 when it is valid UTF-8, else taken as
// Windows-1252 (a superset of Latin-1's printable characters); in Windows-1252; controls become
// spaces.
QByteArray clientText(QByteArrayView word);

ServerScreen* findOwnScreen(ServerClient& client, QByteArrayView id);
// The client's screen that the command's first argument names; none after answering `unknown`.
ServerScreen* namedScreen(Command& c, QByteArrayView unknown);

// LCDd's backlight modes, of the client or of a screen: on, off, toggle (between on and off),
// blink, flash, open. False for any other word, the setting unchanged.
bool setBacklight(ScreenSetting& setting, QByteArrayView mode);

void screenAdd(Command& c);
void screenDel(Command& c);
void screenSet(Command& c);
void widgetAdd(Command& c);
void widgetDel(Command& c);
void widgetSet(Command& c);

} // namespace lcdserver
