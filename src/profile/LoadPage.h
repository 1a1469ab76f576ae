#pragma once

#include "profile/PageModel.h"

// Puts page `page` onto the current lines, keeping every line whose raw text does not change
// (so it goes on scrolling), and sets NextPage. Returns the page timer's new interval in
// milliseconds; 0 means the page stays. A page number outside 0..50 loads the empty page 0.
int LoadPage(PageModel& model, qint16 page);
