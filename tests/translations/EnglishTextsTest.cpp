// The choice of the messages' language, where the translations are looked for, and the window
// under the English translation and without it.
#include "platform/MessagesLanguage.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"
#include "texts/ProgramTranslation.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(MessagesLanguage, FollowsTheLocaleAndLanguageOnlyOutsideC) {
    struct Case {
        MessagesEnvironment environment; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        const char* language;
        const char* code;
    };
    const Case cases[] = {
        {{}, "C", ""},
        {{"", "", "", "en_US.UTF-8"}, "en_US.UTF-8", "en"},
        {{"", "", "", "fr_FR.UTF-8"}, "fr_FR.UTF-8", "fr"},
        // The first variable set wins, an empty one counts as unset.
        {{"", "fr_FR.UTF-8", "en_GB", "en_US"}, "fr_FR.UTF-8", "fr"},
        {{"", "", "en_GB", "fr_FR"}, "en_GB", "en"},
        {{"", "", "", "de_DE@euro"}, "de_DE@euro", "de"},
        // LANGUAGE's first entry is taken, unless the locale is C or POSIX.
        {{"en_GB:fr", "", "", "fr_FR.UTF-8"}, "en_GB", "en"},
        {{":fr:en", "", "", "en_US.UTF-8"}, "fr", "fr"},
        {{"en", "", "", "C"}, "C", ""},
        {{"en", "C.UTF-8", "", "en_US.UTF-8"}, "C.UTF-8", ""},
        {{"en", "", "POSIX", ""}, "POSIX", ""},
        {{"en", "", "", ""}, "C", ""},
    };
    for (const Case& c : cases) {
        const MessagesEnvironment& e = c.environment;
        SCOPED_TRACE(
            QStringList({e.language, e.lcAll, e.lcMessages, e.lang}).join('|').toStdString());
        const QString language = messagesLanguage(e);
        EXPECT_EQ(language, QString::fromLatin1(c.language));
        EXPECT_EQ(languageCode(language), QString::fromLatin1(c.code));
    }
}

TEST(MessagesLanguage, TranslationsAreFoundBesideTheProgramThenWhereTheyAreInstalled) {
    const QStringList fromBin = translationFolders(QStringLiteral("/opt/r/bin"));
    const QStringList fromHelpers = translationFolders(QStringLiteral("/opt/r/libexec/relayeur"));
    EXPECT_EQ(fromBin.value(0), "/opt/r/bin/translations") << "the build folder's, first";
    EXPECT_TRUE(fromBin.contains("/opt/r/share/relayeur/translations"))
        << fromBin.join(' ').toStdString();
    EXPECT_TRUE(fromHelpers.contains("/opt/r/share/relayeur/translations"))
        << fromHelpers.join(' ').toStdString();
    EXPECT_EQ(installTranslation(QStringLiteral("relayeur"), QStringLiteral("en"),
                                 {QStringLiteral("/nonexistent"), QStringLiteral("/proc")}),
              nullptr)
        << "no translation found: nothing installed, the texts stay French";
}

namespace {

template <typename T> T* find(const Shell& s, const char* name) {
    return s.window->findChild<T*>(QString::fromLatin1(name));
}

// The window with a profile loaded, pressed once and once more, and what it then shows.
struct Seen {
    QString menu;
    QString startCaption;
    QString captionAfterStop;
    QStringList log;
};

Seen windowTexts() {
    Shell s;
    s.startWindow();
    s.chosenProfile = s.dir.write("deux.tlcd", kProfile);
    find<QAction>(s, "m_fic_ouvrir")->trigger();
    Seen seen;
    seen.menu = find<QMenu>(s, "m_fichier")->title();
    seen.startCaption = find<QPushButton>(s, "Command1")->text();
    s.window->Command1_Click();
    s.window->Command1_Click();
    seen.captionAfterStop = find<QPushButton>(s, "Command1")->text();
    const QListWidget* list = find<QListWidget>(s, "List1");
    for (int i = 0; i < list->count(); ++i) {
        seen.log.append(list->item(i)->text());
    }
    return seen;
}

} // namespace

TEST(EnglishWindow, SpeaksEnglishWithTheTranslationAndFrenchAgainWithout) {
    auto english = installTranslation(QStringLiteral("relayeur"), QStringLiteral("en"),
                                      {QStringLiteral(RELAYEUR_TRANSLATIONS_DIR)});
    ASSERT_NE(english, nullptr) << "the build makes " RELAYEUR_TRANSLATIONS_DIR "/relayeur_en.qm";
    const Seen inEnglish = windowTexts();
    EXPECT_EQ(inEnglish.menu, "&File");
    EXPECT_EQ(inEnglish.startCaption, "Send to the LCD!");
    EXPECT_EQ(inEnglish.captionAfterStop, inEnglish.startCaption)
        << "the caption the window puts back is the translated one";
    EXPECT_TRUE(inEnglish.log.contains("Reading the settings file: param.ini ..."));
    // The words of the profile's log are translated, its layout is not.
    EXPECT_TRUE(inEnglish.log.contains("Page 1-->"));
    EXPECT_TRUE(inEnglish.log.contains("Line 0=Commun / 2"))
        << inEnglish.log.join('\n').toStdString();

    english.reset();
    const Seen inFrench = windowTexts();
    EXPECT_EQ(inFrench.menu, "&Fichier");
    EXPECT_EQ(inFrench.startCaption, "Envoyer sur le LCD !");
    EXPECT_EQ(inFrench.captionAfterStop, inFrench.startCaption);
    EXPECT_TRUE(inFrench.log.contains("Lecture du fichier de paramètre : param.ini ..."));
    EXPECT_TRUE(inFrench.log.contains("Ligne 0=Commun / 2"));
}
