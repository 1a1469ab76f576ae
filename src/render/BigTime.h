#pragma once

#include "profile/PageModel.h"

#include <QTime>

// Appends the four rows of a big digit (three columns and a space) to the texts of the four
// current lines; a digit outside 0..9 appends nothing.
void BigDigit(std::array<LineRecord, kLinesPerPage>& lines, qint16 digit);

// Rewrites the texts of the four current lines with a clock of big digits, HH:MM, 20 columns
// wide, with the seconds in the bottom right corner. Only the texts change.
void BigTime(std::array<LineRecord, kLinesPerPage>& lines, const QTime& now);
