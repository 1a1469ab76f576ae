#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Replaces every occurrence of `token`, asking for the value once and only when it is there;
// false when it is not.
template <typename Value> bool replaceToken(QByteArray& text, QByteArrayView token, Value value) {
    if (!text.contains(token)) {
        return false;
    }
    text.replace(token, value());
    return true;
}
