#include "texts/ProgramTranslation.h"

#include "platform/MessagesLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

QStringList translationFolders(const QString& executableDir) {
    const QDir dir(executableDir);
    QStringList folders{dir.filePath(QStringLiteral("translations"))};
    for (const char* installed :
         {RELAYEUR_TRANSLATIONS_FROM_BIN, RELAYEUR_TRANSLATIONS_FROM_HELPERS}) {
        folders.append(QDir::cleanPath(dir.filePath(QString::fromUtf8(installed))));
    }
    return folders;
}

namespace {

QString wantedLanguage() {
    const QString code = languageCode(messagesLanguage(MessagesEnvironment::fromSystem()));
    return code == QLatin1String("fr") ? QString() : code;
}

} // namespace

bool translationWanted() {
    return !wantedLanguage().isEmpty();
}

std::unique_ptr<QTranslator> installProgramTranslation() {
    const QString code = wantedLanguage();
    if (code.isEmpty() || !QCoreApplication::instance()) {
        return nullptr;
    }
    return installTranslation(QStringLiteral("relayeur"), code,
                              translationFolders(QCoreApplication::applicationDirPath()));
}
