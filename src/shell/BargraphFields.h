#pragma once

#include <QString>

// The four parts of a bargraph line, as the editor shows them in fields of their own: three
// numbers (or variables that give one) and a label, which may hold spaces.
struct BargraphFields {
    QString low;
    QString high;
    QString value;
    QString label;
};

// The line's parts as the bar reads them: each of the first three runs to the next space, which
// goes with it; the label is the rest, spaces included.
BargraphFields splitBargraph(const QString& text);
// The line the bar reads back as `fields`: single spaces between the parts, none after the value
// when there is no label.
QString composeBargraph(const BargraphFields& fields);
