#pragma once

#include <QByteArray>

// A number as the last two characters of "0" followed by its decimal text: 5 gives "05",
// 42 gives "42", 123 gives "23".
inline QByteArray TwoDigits(qint64 value) {
    return ("0" + QByteArray::number(value)).right(2);
}
