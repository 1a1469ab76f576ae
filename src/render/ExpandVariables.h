#pragma once

#include "model/DisplayConfig.h"
#include "profile/PageModel.h"

// Brings the text of panel lines 1 to L up to date before they are written, and their Length
// with it.
void ExpandVariables(PageModel& pages, const DisplayConfig& config);
