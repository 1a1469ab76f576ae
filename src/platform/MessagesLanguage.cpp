#include "platform/MessagesLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>

MessagesEnvironment MessagesEnvironment::fromSystem() {
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
            qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG")};
}

namespace {

bool isPlainC(const QString& locale) {
    return locale == QLatin1String("C") || locale == QLatin1String("POSIX") ||
           locale.startsWith(QLatin1String("C."));
}

} // namespace

QString messagesLanguage(const MessagesEnvironment& environment) {
    QString locale = QStringLiteral("C");
    for (const QString* variable :
         {&environment.lcAll, &environment.lcMessages, &environment.lang}) {
        if (!variable->isEmpty()) {
            locale = *variable;
            break;
        }
    }
    // As gettext: under the C locale the program speaks its own language, whatever LANGUAGE says.
    if (isPlainC(locale)) {
        return locale;
    }
    const QStringList languages = environment.language.split(u':', Qt::SkipEmptyParts);
    return languages.isEmpty() ? locale : languages.first();
}

QString languageCode(const QString& locale) {
    if (isPlainC(locale)) {
        return {};
    }
    qsizetype end = 0;
    while (end < locale.size() && locale[end].isLetter()) {
        ++end;
    }
    return locale.left(end).toLower();
}

std::unique_ptr<QTranslator> installTranslation(const QString& baseName, const QString& code,
                                                const QStringList& folders) {
    const QString fileName = baseName + u'_' + code + QStringLiteral(".qm");
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo::exists(path)) {
            continue;
        }
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(path) && QCoreApplication::installTranslator(translator.get())) {
            return translator;
        }
        return nullptr;
    }
    return nullptr;
}
