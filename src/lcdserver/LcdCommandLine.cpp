#include "lcdserver/LcdCommandLine.h"

#include <cstring>

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

LcdWords::LcdWords(QByteArrayView line) {
    qsizetype end = line.size();
    for (const char last : {'\n', '\0'}) {
        if (const void* at = end > 0 ? std::memchr(line.data(), last, end) : nullptr) {
            end = static_cast<const char*>(at) - line.data();
        }
    }
    // The line is copied once, ended by a NUL, and its words are then moved back within the copy,
    // their escapes and quotes taken out: a word never grows, so `out` never passes `in`. The
    // plain runs between the bytes that matter are found and moved a run at a time. A command's
    // line fits on the stack.
    bytes_.resize(end + 1);
    if (end > 0) {
        std::memcpy(bytes_.data(), line.data(), end);
    }
    bytes_[end] = '\0';
    const char* in = bytes_.data();
    char* out = bytes_.data();
    const char* word = out;
    bool inWord = false;
    char closing = '\0'; // within quotes: the character that closes them
    const auto endWord = [&] {
        words_.append(QByteArrayView(word, out - word));
        word = out;
        inWord = false;
        return words_.size() <= kMaxLcdWords;
    };
    for (;;) {
        const char* stops = closing == '"' ? "\\\"" : closing == '}' ? "\\}" : "\\\"{ \t\r";
        if (const size_t run = std::strcspn(in, stops)) {
            std::memmove(out, in, run);
            out += run;
            in += run;
            inWord = true;
        }
        const char c = *in++;
        if (c == '\0') {
            break;
        }
        if (c == '\\') {
            if (*in == '\0') {
                return;
            }
            inWord = true;
            *out++ = escaped(*in++);
        } else if (c == closing) {
            closing = '\0';
            if (!endWord()) {
                return;
            }
        } else if (c == '"' || c == '{') {
            inWord = true;
            closing = c == '{' ? '}' : '"';
        } else if (inWord && !endWord()) { // a blank
            return;
        }
    }
    parsed_ = closing == '\0' && (!inWord || endWord());
}
