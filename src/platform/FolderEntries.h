#pragma once

#include <QByteArrayView>
#include <QString>

// How many entries of folder `path` whose names start with `prefix` are anything but a folder:
// files, links to files, broken links, pipes and the like, hidden ones too. A link to a folder is
// a folder. A folder that cannot be read has none.
qint64 countNonFolderEntries(const QString& path, QByteArrayView prefix);
