// The programs as a user runs them: in English where the user's language is English, in their
// own French everywhere else.
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The environment of a user whose language is `lang` and, when given, `language`.
QProcessEnvironment speaking(const QString& lang, const QString& language = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        environment.remove(variable);
    }
    environment.insert("LANG", lang);
    if (!language.isEmpty()) {
        environment.insert("LANGUAGE", language);
    }
    return environment;
}

} // namespace

TEST(ProgramLanguage, TheHelpAndTheMistakesAreEnglishForEnglishUsersOnly) {
    const Finished english = runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("en_US.UTF-8"));
    EXPECT_EQ(english.exitCode, 0);
    EXPECT_TRUE(english.out.startsWith("Usage: relayeur [options]\n")) << english.out.toStdString();
    EXPECT_EQ(runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("fr_FR.UTF-8", "en_GB:fr")).out,
              english.out)
        << "LANGUAGE counts where the locale is not C";

    const Finished french = runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("fr_FR.UTF-8"));
    EXPECT_TRUE(french.out.startsWith("Utilisation : relayeur [options]\n"))
        << french.out.toStdString();
    for (const auto& [lang, language] : {std::pair("C", "en"), std::pair("POSIX", ""),
                                         std::pair("de_DE.UTF-8", ""), std::pair("", "en")}) {
        EXPECT_EQ(runToEnd(RELAYEUR_BINARY, {"--help"}, speaking(lang, language)).out, french.out)
            << "LANG=" << lang << " LANGUAGE=" << language;
    }

    // The helpers load the translation too. Where the locale is not installed, Qt may say so
    // first.
    for (const char* program : {RELAYEUR_SEND_BINARY, RELAYEUR_SENSORS_BINARY}) {
        const QString name = QFileInfo(program).fileName();
        const QString english = runToEnd(program, {"--bogus"}, speaking("en_US.UTF-8")).err;
        EXPECT_TRUE(english.endsWith(name + ": unknown option: --bogus\n" + name +
                                     " --help lists the options.\n"))
            << english.toStdString();
        EXPECT_EQ(runToEnd(program, {"--bogus"}, speaking("C.UTF-8", "en")).err,
                  name + " : option inconnue : --bogus\n" + name +
                      " --help donne la liste des options.\n");
    }
}

TEST(ProgramLanguage, TheTerminalLogIsEnglishAndThePanelShowsTheProfileAsItIs) {
    TempDir dir;
    dir.write("param.ini", "[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=1\ncontrast=0\nbacklight=0\n"
                           "refresh=50\nscrolling=0\nrep_winamp=\nrep_seti=\nrep_HL=\n");
    const QString profile = dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=Relais\n"
                                                "ligne1=\nligne2=\nligne3=\ntime=0\nnext=0\n");
    const auto logUntilThePanel = [&](const QString& lang) {
        QProcessEnvironment environment = speaking(lang);
        environment.insert("XDG_RUNTIME_DIR", dir.path());
        QProcess relayeur;
        relayeur.setProcessEnvironment(environment);
        relayeur.start(RELAYEUR_BINARY, {"--terminal", "--print-log", "--config-dir", dir.path(),
                                         "--profile", profile, "--start"});
        QStringList seen;
        EXPECT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "│Relais              │", seen))
            << seen.join('\n').toStdString();
        EXPECT_EQ(terminate(relayeur), 0);
        return seen;
    };
    const QStringList english = logUntilThePanel("en_GB.UTF-8");
    EXPECT_TRUE(english.contains("Reading the settings file: param.ini ..."));
    EXPECT_TRUE(english.contains("Loading the command file -> " + profile));
    EXPECT_TRUE(english.contains("Line 0=Relais / 0")) << english.join('\n').toStdString();

    const QStringList french = logUntilThePanel("fr_FR.UTF-8");
    EXPECT_TRUE(french.contains("Lecture du fichier de paramètre : param.ini ..."));
    EXPECT_TRUE(french.contains("Chargement du fichier de commande -> " + profile));
    EXPECT_TRUE(french.contains("Ligne 0=Relais / 0")) << french.join('\n').toStdString();
    EXPECT_EQ(english.size(), french.size()) << "the same lines, in other words";
}
