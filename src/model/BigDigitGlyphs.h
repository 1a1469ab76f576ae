#pragma once

// For each digit, four rows of four codes: three columns of the digit and a space. Codes 0-5
// are the panel's user-defined shapes (bars and rounded corners), 255 its full block. The big
// clock draws with them; a panel with big numbers of its own puts them at the same columns.
constexpr unsigned char kDigitGlyphs[10][4][4] = {
    {{2, 0, 3, 32}, {255, 32, 255, 32}, {255, 32, 255, 32}, {4, 1, 5, 32}},
    {{32, 2, 255, 32}, {32, 32, 255, 32}, {32, 32, 255, 32}, {32, 32, 255, 32}},
    {{2, 0, 3, 32}, {32, 1, 5, 32}, {2, 0, 32, 32}, {4, 1, 1, 32}},
    {{2, 0, 3, 32}, {32, 32, 255, 32}, {32, 0, 255, 32}, {4, 1, 5, 32}},
    {{2, 0, 0, 32}, {255, 32, 1, 32}, {4, 1, 255, 32}, {32, 32, 255, 32}},
    {{255, 0, 3, 32}, {4, 1, 1, 32}, {32, 32, 255, 32}, {4, 1, 5, 32}},
    {{2, 0, 3, 32}, {255, 32, 32, 32}, {255, 0, 3, 32}, {4, 1, 5, 32}},
    {{0, 0, 3, 32}, {32, 32, 255, 32}, {32, 255, 32, 32}, {32, 255, 32, 32}},
    {{2, 0, 3, 32}, {4, 1, 5, 32}, {2, 32, 3, 32}, {4, 1, 5, 32}},
    {{2, 0, 3, 32}, {4, 1, 255, 32}, {32, 32, 255, 32}, {4, 1, 5, 32}},
};

// Where the clock's parts start in each of its 20-column rows.
constexpr int kBigClockDigitColumns[4] = {0, 4, 10, 14};
constexpr int kBigClockColonColumn = 8;
constexpr int kBigClockSecondsColumn = 18;
