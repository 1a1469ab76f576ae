// The choice of the messages' language, where the translations are looked for, and the window
// under the English translation and without it.
#include "platform/MessagesLanguage.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(MessagesLanguage, FollowsTheLocaleAndLanguageOnlyOutsideC) {
    const std::tuple<MessagesEnvironment, const char*, const char*> cases[] = {
        // LANGUAGE, LC_ALL, LC_MESSAGES, LANG; the first set wins, an empty one is unset.
        {{}, "C", ""},
        {{"", "", "", "en_US.UTF-8"}, "en_US.UTF-8", "en"},
        {{"", "fr_FR.UTF-8", "en_GB", "en_US"}, "fr_FR.UTF-8", "fr"},
        {{"", "", "en_GB", "fr_FR"}, "en_GB", "en"},
        {{"", "", "", "de_DE@euro"}, "de_DE@euro", "de"},
        // LANGUAGE's first entry, unless the locale is C or POSIX.
        {{"en_GB:fr", "", "", "fr_FR.UTF-8"}, "en_GB", "en"},
        {{":fr:en", "", "", "en_US.UTF-8"}, "fr", "fr"},
        {{"en", "", "", "C"}, "C", ""},
        {{"en", "C.UTF-8", "", "en_US.UTF-8"}, "C.UTF-8", ""},
        {{"en", "", "POSIX", ""}, "POSIX", ""},
        {{"en", "", "", ""}, "C", ""},
    };
    for (const auto& [environment, language, code] : cases) {
        const QString chosen = messagesLanguage(environment);
        EXPECT_EQ(std::pair(chosen, languageCode(chosen)),
                  std::pair(QString(language), QString(code)))
            << (environment.language + '|' + environment.lang).toStdString();
    }
    EXPECT_EQ(installTranslation("relayeur", "en", {"/nonexistent", "/proc"}), nullptr);
}

namespace {

// The window's menu and button with a profile loaded, the button once pressed twice, and the log.
QStringList windowTexts() {
    Shell s;
    s.startWindow();
    s.chosenProfile = s.dir.write("deux.tlcd", kProfile);
    s.window->findChild<QAction*>("m_fic_ouvrir")->trigger();
    auto* button = s.window->findChild<QPushButton*>("Command1");
    QStringList seen = {s.window->findChild<QMenu*>("m_fichier")->title(), button->text()};
    s.window->Command1_Click();
    s.window->Command1_Click();
    seen.append(button->text());
    const auto* list = s.window->findChild<QListWidget*>("List1");
    for (int i = 0; i < list->count(); ++i) {
        seen.append(list->item(i)->text());
    }
    return seen;
}

} // namespace

TEST(EnglishWindow, SpeaksEnglishWithTheTranslationAndFrenchAgainWithout) {
    auto english = installTranslation("relayeur", "en", {RELAYEUR_TRANSLATIONS_DIR});
    ASSERT_NE(english, nullptr) << "the build makes " RELAYEUR_TRANSLATIONS_DIR "/relayeur_en.qm";
    const QStringList inEnglish = windowTexts();
    EXPECT_EQ(inEnglish.mid(0, 3), QStringList({"&File", "Send to the LCD!", "Send to the LCD!"}))
        << "the caption put back after a stop is the translated one too";
    // The words of the log are translated, its layout is not.
    for (const char* line :
         {"Reading the settings file: param.ini ...", "Page 1-->", "Line 0=Commun / 2"}) {
        EXPECT_TRUE(inEnglish.contains(line)) << line;
    }

    english.reset();
    const QStringList inFrench = windowTexts();
    EXPECT_EQ(inFrench.mid(0, 3),
              QStringList({"&Fichier", "Envoyer sur le LCD !", "Envoyer sur le LCD !"}));
    EXPECT_TRUE(inFrench.contains("Ligne 0=Commun / 2"));
}
