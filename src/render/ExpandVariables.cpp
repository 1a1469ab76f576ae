#include "render/ExpandVariables.h"

#include <algorithm>

void ExpandVariables(PageModel& pages, const DisplayConfig& config) {
    const int panelLines = std::clamp<int>(config.L, 0, kLinesPerPage);
    for (int i = 0; i < panelLines; ++i) {
        LineRecord& line = pages.CurrentLines[i];
        line.Length = static_cast<qint16>(line.Text.size());
    }
}
