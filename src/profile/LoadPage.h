#pragma once

#include "profile/PageModel.h"

// Puts page `page` onto the current lines, keeping every line whose raw text does not change
// (so it goes on scrolling), and sets NextPage. Returns the page timer's new interval in
// milliseconds; 0 means the page stays. A page number outside 0..50 loads the empty page 0.
int LoadPage(PageModel& model, qint16 page);

// Puts a text on line `line` (0 to 3) of the current page, until the next page loads: a new line
// record, exactly as the profile loader makes one (from the start, pending, dynamic), and the
// line's template with it. This is what a line message from another program does.
void putOnPage(PageModel& model, int line, const QByteArray& text, qint16 scrollMode);
