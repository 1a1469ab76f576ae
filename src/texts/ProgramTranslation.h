#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QTranslator;

// Where a Relayeur program looks for its translations: translations/ beside it (the build
// folder), then the installed share/relayeur/translations, reached from bin/ or from the
// helpers' folder.
QStringList translationFolders(const QString& executableDir);

// Whether the user's language of messages may have a translation: it is neither French, the
// program's own language, nor C or POSIX. Elsewhere no translation is looked for.
bool translationWanted();

// Installs the translation of Relayeur's texts into the user's language of messages, for as long
// as the returned translator lives. French, the program's own language, C and POSIX, and a
// language without a translation install nothing, as does a program without an application
// object.
std::unique_ptr<QTranslator> installProgramTranslation();
