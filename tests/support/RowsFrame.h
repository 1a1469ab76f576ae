#pragma once

#include "model/Frame.h"

#include <QByteArrayList>

// A frame that writes these rows from the top, one a line.
inline Frame rowsFrame(const QByteArrayList& rows) {
    Frame frame;
    frame.lines = int(rows.size());
    for (int i = 0; i < frame.lines; ++i) {
        frame.rows[i] = rows[i];
    }
    return frame;
}
