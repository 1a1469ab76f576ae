#pragma once

#include "model/DisplayConfig.h"
#include "profile/ProfileDocument.h"

#include <QList>
#include <QString>

// What would go wrong with a page once loaded, found before the profile is saved.
struct ProfileMistake {
    enum class Kind {
        BargraphNotNumbers, // a bargraph line whose minimum, maximum or value is not a number
                            // (once its variables are replaced by numbers)
        BargraphRange,      // a bargraph whose maximum is not above its minimum
        NextMissing,        // `next` names a page the profile does not have
        LineTooLong,        // longer than the loader reads (127 characters) or a panel scrolls
        TimeOutOfRange,     // not within 0..32 seconds
        NotInCharacterSet,  // characters the panel cannot show, which become '?'
        BigClockNotAlone,   // %%big_time with variables on a later line: no big clock shows
    };
    Kind kind;
    int page = 0;  // counted from 1
    int line = -1; // 0..3, or -1 for the page itself (time, next)
    QString text;  // the sentence shown to the user, in the program's language
};

// Every mistake of every page, page by page and line by line.
QList<ProfileMistake> findMistakes(const ProfileDocument& document, const DisplayConfig& config);
