#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <optional>

// The words of one client line, split as LCDd splits them: blanks (space, tab, CR) part words;
// "..." and {...} quote blanks (a quote also ends its word); a backslash takes the next byte as
// it is, \n \r \t giving the control. A NUL or LF byte ends the line. None when LCDd refuses the
// line ("Could not parse command"): a quote left open, a backslash at the end, or more than
// kMaxLcdWords words.
std::optional<QByteArrayList> splitLcdLine(const QByteArray& line);

inline constexpr int kMaxLcdWords = 39;
