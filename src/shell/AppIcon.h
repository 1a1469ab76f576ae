#pragma once

#include <QIcon>

// The program's icon: a small backlit character panel. Drawn, so no image file is needed.
QIcon appIcon();
