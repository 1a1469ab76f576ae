#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>

// Qt's own texts (the file dialog, the buttons of message boxes) in the user's language, as the
// rest of the program. Installed in the application until the translator returned is destroyed;
// none when Qt has no translation for that language.
std::unique_ptr<QTranslator> installQtTranslations(const QLocale& locale);
