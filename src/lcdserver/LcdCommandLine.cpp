#include "lcdserver/LcdCommandLine.h"

#include <QVarLengthArray>

namespace {

char escaped(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return c;
    }
}

} // namespace

std::optional<QByteArrayList> splitLcdLine(const QByteArray& line) {
    const char* in = line.constData();
    qsizetype end = 0;
    while (end < line.size() && in[end] != '\n' && in[end] != '\0') {
        ++end;
    }
    // The words are written one after the other into `bytes`, which is never longer than the
    // line, then copied out each at once: a line is split for every command a client sends. A
    // command's line fits on the stack.
    QVarLengthArray<char, 256> bytes(end);
    char* out = bytes.data();
    const char* word = out;
    QByteArrayList words;
    words.reserve(8); // a command has a few words: one allocation for the list
    bool inWord = false;
    char closing = '\0'; // within quotes: the character that closes them
    const auto endWord = [&] {
        words.append(QByteArray(word, out - word));
        word = out;
        inWord = false;
        return words.size() <= kMaxLcdWords;
    };
    for (qsizetype i = 0; i < end; ++i) {
        const char c = in[i];
        if (c == '\\') {
            if (i + 1 == end) {
                return std::nullopt;
            }
            inWord = true;
            *out++ = escaped(in[++i]);
        } else if (c == closing) {
            closing = '\0';
            if (!endWord()) {
                return std::nullopt;
            }
        } else if (closing != '\0') {
            *out++ = c;
        } else {
            switch (c) {
            case ' ':
            case '\t':
            case '\r':
                if (inWord && !endWord()) {
                    return std::nullopt;
                }
                break;
            case '"':
            case '{':
                inWord = true;
                closing = c == '{' ? '}' : '"';
                break;
            default:
                inWord = true;
                *out++ = c;
            }
        }
    }
    if (closing != '\0' || (inWord && !endWord())) {
        return std::nullopt;
    }
    return words;
}
