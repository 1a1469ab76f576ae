#include "lcdserver/LcdCommandLine.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

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
    qsizetype end = 0;
    while (end < line.size() && line[end] != '\n' && line[end] != '\0') {
        ++end;
    }
    QByteArrayList words;
    QByteArray word;
    bool inWord = false;
    char quote = '\0';
    const auto endWord = [&] {
        words.append(word);
        word.clear();
        inWord = false;
        return words.size() <= kMaxLcdWords;
    };
    for (qsizetype i = 0; i < end; ++i) {
        const char c = line[i];
        if (!inWord) {
            if (isBlank(c)) {
                continue;
            }
            inWord = true;
        }
        if (c == '\\') {
            if (i + 1 == end) {
                return std::nullopt;
            }
            word.append(escaped(line[++i]));
        } else if (quote == '\0' && (c == '"' || c == '{')) {
            quote = c;
        } else if ((quote == '"' && c == '"') || (quote == '{' && c == '}')) {
            quote = '\0';
            if (!endWord()) {
                return std::nullopt;
            }
        } else if (quote == '\0' && isBlank(c)) {
            if (!endWord()) {
                return std::nullopt;
            }
        } else {
            word.append(c);
        }
    }
    if (quote != '\0' || (inWord && !endWord())) {
        return std::nullopt;
    }
    return words;
}
