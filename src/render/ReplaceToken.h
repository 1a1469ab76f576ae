#pragma once

#include <QByteArray>

// Replaces every occurrence of `token`, asking for the value once and only when it is there.
template <typename Value> void replaceToken(QByteArray& text, const char* token, Value value) {
    if (text.contains(token)) {
        text.replace(token, value());
    }
}
