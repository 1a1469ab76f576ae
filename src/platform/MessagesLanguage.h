#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QTranslator;

// The variables that choose the language of messages, as the C library's gettext reads them.
// fromSystem() takes them from this process; a test gives its own.
struct MessagesEnvironment {
    QString language; // $LANGUAGE: a list of languages separated by ':'
    QString lcAll;
    QString lcMessages;
    QString lang;

    static MessagesEnvironment fromSystem();
};

// The language messages are shown in: the first entry of LANGUAGE when the locale (the first of
// LC_ALL, LC_MESSAGES, LANG that is set) is neither C nor POSIX, else that locale, as it is
// written ("en_GB.UTF-8"); "C" when none is set.
QString messagesLanguage(const MessagesEnvironment& environment);

// The language part of a locale name: "en" for "en_GB.UTF-8", empty for C and POSIX.
QString languageCode(const QString& locale);

// Loads <baseName>_<code>.qm from the first folder that has it and installs it in the
// application, which must exist. Returns the translator to keep for as long as it serves, or
// null when no folder has the file or it cannot be read.
std::unique_ptr<QTranslator> installTranslation(const QString& baseName, const QString& code,
                                                const QStringList& folders);
