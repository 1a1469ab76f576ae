#pragma once

#include "profile/PageModel.h"

#include <QByteArrayView>
#include <QTime>

// Row `row` (0-3) of the big digit `digit`: its three columns and a space; 10 is the colon, one
// column and a space. Empty for anything else. A view of constant bytes, valid for the whole run.
QByteArrayView BigDigitRow(int digit, int row);

// Appends the four rows of a big digit (three columns and a space) to the texts of the four
// current lines; a digit outside 0..9 appends nothing.
void BigDigit(std::array<LineRecord, kLinesPerPage>& lines, qint16 digit);

// Rewrites the texts of the four current lines with a clock of big digits, HH:MM, 20 columns
// wide, with the seconds in the bottom right corner. Only the texts change.
void BigTime(std::array<LineRecord, kLinesPerPage>& lines, const QTime& now);
