#pragma once

#include "profile/PageModel.h"

// Puts page `page` onto the current lines, keeping every line whose raw text does not change
// (so it goes on scrolling) and every held line, and sets NextPage. Returns the page timer's new
// interval in milliseconds; 0 means the page stays. A page number outside 0..50 loads the empty
// page 0.
int LoadPage(PageModel& model, qint16 page);

// Puts a text on line `line` (0 to 3) of the current page, until the next page loads: a new line
// record, exactly as the profile loader makes one (from the start, pending, dynamic), and the
// line's template with it. This is what a line message from another program does; a hold on
// that line ends.
void putOnPage(PageModel& model, int line, const QByteArray& text, qint16 scrollMode);

// The same, but the pages leave the line alone until `untilMs` on the monotonic clock.
void holdOnPage(PageModel& model, int line, const QByteArray& text, qint16 scrollMode,
                qint64 untilMs);

// Gives every line whose hold is over at `nowMs` the shown page's own line back, from its start,
// to be written at least once so that the held text goes even from an empty page.
void releaseHeldLines(PageModel& model, qint64 nowMs);
