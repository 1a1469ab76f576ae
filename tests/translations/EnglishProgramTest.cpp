// The programs as a user runs them: in English where the user's language is English, in their
// own French everywhere else.
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment speaking(const QString& lang, const QString& language = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LC_ALL");
    environment.remove("LC_MESSAGES");
    environment.insert("LANG", lang);
    environment.insert("LANGUAGE", language);
    return environment;
}

} // namespace

TEST(ProgramLanguage, TheHelpAndTheMistakesAreEnglishForEnglishUsersOnly) {
    const QString english = runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("en_US.UTF-8")).out;
    EXPECT_TRUE(english.startsWith("Usage: relayeur [options]\n")) << english.toStdString();
    EXPECT_EQ(runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("fr_FR.UTF-8", "en_GB:fr")).out,
              english);
    const QString french = runToEnd(RELAYEUR_BINARY, {"--help"}, speaking("fr_FR.UTF-8")).out;
    EXPECT_TRUE(french.startsWith("Utilisation : relayeur [options]\n")) << french.toStdString();
    for (const auto& [lang, language] : {std::pair("C", "en"), std::pair("POSIX", ""),
                                         std::pair("de_DE.UTF-8", ""), std::pair("", "en")}) {
        EXPECT_EQ(runToEnd(RELAYEUR_BINARY, {"--help"}, speaking(lang, language)).out, french)
            << lang;
    }
    for (const char* program : {RELAYEUR_SEND_BINARY, RELAYEUR_SENSORS_BINARY}) {
        const QString name = QFileInfo(program).fileName();
        // Where the locale is not installed, Qt may say so first.
        EXPECT_TRUE(runToEnd(program, {"--bogus"}, speaking("en_US.UTF-8"))
                        .err.endsWith(name + ": unknown option: --bogus\n" + name +
                                      " --help lists the options.\n"));
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
    QProcessEnvironment environment = speaking("en_GB.UTF-8");
    environment.insert("XDG_RUNTIME_DIR", dir.path());
    QProcess relayeur;
    relayeur.setProcessEnvironment(environment);
    relayeur.start(RELAYEUR_BINARY, {"--terminal", "--print-log", "--config-dir", dir.path(),
                                     "--profile", profile, "--start"});
    QStringList seen;
    ASSERT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "│Relais              │", seen))
        << seen.join('\n').toStdString();
    EXPECT_EQ(terminate(relayeur), 0);
    for (const QString& line :
         {QString("Reading the settings file: param.ini ..."),
          "Loading the command file -> " + profile, QString("Line 0=Relais / 0")}) {
        EXPECT_TRUE(seen.contains(line)) << line.toStdString();
    }
}
