#pragma once

#include "detect/PanelSearch.h"

#include <QString>
#include <QTextStream>

// relayeur --detecter: the search, its findings one a line, and the user's choices read as
// numbers from `in`. Returns the program's exit status: 0 once the settings are written, 1 when
// nothing was found, nothing chosen, or the settings could not be written.
int runDetection(const SearchPlaces& places, const QString& settingsFile, QTextStream& in,
                 QTextStream& out);
