// relayeur: the command line, the engine alone in the terminal, or the window program in its
// place. Only QtCore and what the engine needs are loaded here, so --terminal stays small.
#include "detect/DetectConsole.h"
#include "detect/PanelChoice.h"
#include "drivers/OnScreenPanel.h"
#include "engine/CommandLine.h"
#include "engine/Engine.h"
#include "engine/StartUp.h"
#include "engine/TerminationSignals.h"
#include "platform/USEINI.h"
#include "terminal/TerminalView.h"
#include "texts/ProgramTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// What a user who sees no profile can do, in one line.
QString noProfileHint(Engine& engine, bool profileAsked) {
    if (!engine.state().config.reprendre) {
        return QCoreApplication::translate(
                   "TerminalMain",
                   "Aucun profil chargé : lancez relayeur --terminal --profile FICHIER "
                   "--start, ou mettez reprendre=1 dans [parametres] de %1 pour "
                   "reprendre au démarrage le dernier profil ouvert")
            .arg(engine.settingsFile());
    }
    return profileAsked ? QCoreApplication::translate(
                              "TerminalMain",
                              "Aucun profil chargé : lancez relayeur --terminal --profile FICHIER "
                              "--start")
                        : QCoreApplication::translate(
                              "TerminalMain",
                              "Aucun profil chargé : lancez relayeur --terminal --profile FICHIER "
                              "--start (le dernier profil n'a pas pu être repris : --print-log dit "
                              "pourquoi)");
}

// No window: the engine alone, its on-screen panel drawn in the terminal.
int runInTerminal(const CommandLineOptions& options) {
    // From the first moment, so that no Ctrl+C ends the program without its clean-up.
    TerminationSignals signals;
    QuietMessageBoxes boxes;
    std::optional<InstanceLock> instance;
    if (!claimSingleCopy(instance, boxes)) {
        return 1;
    }
    const StartUp startUp = prepareStartUp(options, QCoreApplication::applicationDirPath());
    EngineEnvironment environment;
    environment.settingsDir = startUp.settingsDir;
    environment.executableDir = QCoreApplication::applicationDirPath();
    environment.boxes = &boxes;
    Engine engine(environment);
    std::unique_ptr<TerminalView> view;
    if (options.printLog) {
        QObject::connect(&engine, &Engine::logAdded, [&view](const QString& line) {
            if (view) {
                view->printLog(line);
            } else {
                printToStandardOutput(line);
            }
        });
    }
    // The title's words, translated once: it changes with every page.
    const QString titleText = QCoreApplication::translate("TerminalMain", "%1 — page %2");
    QObject::connect(
        &engine, &Engine::pageShown, [&view, titleText](const QString& profile, int page) {
            if (view) {
                view->setTitle(titleText.arg(QFileInfo(profile).fileName(), QString::number(page)));
            }
        });
    // Queued, so that an end reached before the event loop has begun still ends it.
    QObject::connect(
        &engine, &Engine::endedRun, QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    QObject::connect(&signals, &TerminationSignals::received, &engine, &Engine::EndProc);
    QObject::connect(&engine, &Engine::startedUp, [&engine, &view, &options] {
        if (!engine.lastProfile().isEmpty()) {
            return;
        }
        const QString hint = noProfileHint(engine, !options.profile.isEmpty());
        if (view) {
            view->printLog(hint);
        } else {
            printToStandardOutput(hint);
        }
    });

    StartUpHooks hooks;
    hooks.panelMade = [&engine, &view] {
        if (OnScreenPanel* panel = engine.onScreenPanel()) {
            view = std::make_unique<TerminalView>(
                *panel, stdout,
                QCoreApplication::translate("TerminalMain", "%1 — aucun profil chargé")
                    .arg(kAppTitle));
        }
    };
    engine.startUp(startUp, hooks);
    const int status = QCoreApplication::exec();
    view.reset(); // prints the panel as the way out left it
    return status;
}

// --detecter: the search and its questions in the terminal; no display is needed.
int runDetect(const CommandLineOptions& options) {
    const StartUp startUp = prepareStartUp(options, QCoreApplication::applicationDirPath());
    const QString settingsFile = QDir(startUp.settingsDir).filePath(QStringLiteral("param.ini"));
    SearchPlaces places;
    // A folder standing for / where the devices are looked for: emulated devices for a trial.
    places.dirs = DeviceDirs::under(qEnvironmentVariable("RELAYEUR_DEV_ROOT"));
    places.lcddServer =
        GetIni(QStringLiteral("ports"), QStringLiteral("LCDd"), places.lcddServer, settingsFile);
    QTextStream in(stdin);
    QTextStream out(stdout);
    // A running copy keeps its panel: the search leaves that one alone.
    std::optional<InstanceLock> instance;
    const RuntimePath lockPath = InstanceLock::defaultPath(QStringLiteral("relayeur"));
    int error = 0;
    if (!lockPath.path.isEmpty() && !(instance = InstanceLock::acquire(lockPath.path, error)) &&
        error == EWOULDBLOCK) {
        places.inUse = configuredPanel(settingsFile);
        out << QCoreApplication::translate("TerminalMain",
                                           "Relayeur est en marche : son afficheur n'est pas "
                                           "touché.")
            << Qt::endl;
    }
    return runDetection(places, settingsFile, in, out);
}

// The window is a program of its own: this process becomes it, with the same arguments and
// environment, and tells it where relayeur is. Returns only when no copy of it could be run.
int runWindowProgram(char* argv[]) {
    const QString executableDir =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    ::setenv(kProgramDirVariable, QFile::encodeName(executableDir).constData(), 1);
    const QStringList candidates =
        helperCandidates(executableDir, QStringLiteral("relayeur-window"));
    int error = ENOENT;
    for (const QString& candidate : candidates) {
        ::execv(QFile::encodeName(candidate).constData(), argv);
        // A copy that is there but cannot be run says more than one that is not there.
        if (errno != ENOENT) {
            error = errno;
        }
    }
    std::fprintf(stderr, "relayeur: %s\n",
                 QCoreApplication::translate("TerminalMain",
                                             "impossible de lancer la fenêtre (%1 : %2) ; "
                                             "relayeur --terminal fonctionne sans elle")
                     .arg(candidates.join(QStringLiteral(", ")),
                          QString::fromLocal8Bit(std::strerror(error)))
                     .toLocal8Bit()
                     .constData());
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // System error texts in the user's language, also when no Qt application is made.
    std::setlocale(LC_ALL, "");
    // Where the texts are translated the application object comes first, so that the help and
    // the mistakes on the command line are translated too; elsewhere only the programs that run
    // an event loop make it.
    std::optional<QCoreApplication> application;
    if (translationWanted()) {
        application.emplace(argc, argv);
    }
    const std::unique_ptr<QTranslator> texts = installProgramTranslation();
    // Help, version and mistakes on the command line need no display.
    int exitCode = 0;
    const std::optional<CommandLineOptions> read = readCommandLine(argc, argv, exitCode);
    if (!read) {
        return exitCode;
    }
    const CommandLineOptions& options = *read;
    if (options.detect || options.terminal) {
        if (!application) {
            application.emplace(argc, argv);
        }
        QCoreApplication::setApplicationName(QStringLiteral("relayeur"));
        return options.detect ? runDetect(options) : runInTerminal(options);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "relayeur: %s\n",
                     QCoreApplication::translate("TerminalMain",
                                                 "pas d'écran graphique (DISPLAY) : lancez "
                                                 "relayeur --terminal pour voir l'afficheur dans "
                                                 "le terminal")
                         .toLocal8Bit()
                         .constData());
        return 1;
    }
    return runWindowProgram(argv);
}
