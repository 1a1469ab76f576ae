#include "drivers/OnScreenPanel.h"
#include "platform/InstanceLock.h"
#include "platform/SettingsDir.h"
#include "shell/CommandLine.h"
#include "shell/Engine.h"
#include "shell/F_Interface.h"
#include "shell/FirstRun.h"
#include "shell/ListLog.h"
#include "shell/QtTranslations.h"
#include "shell/TerminalView.h"
#include "shell/TerminationSignals.h"
#include "shell/WidgetMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace {

// What both ways of running share: the settings folder (made on a first run), the profile to
// show at once and whether to start it.
struct StartUp {
    QString settingsDir;
    QStringList notes;
    QString profile;
    bool start = false;
};

StartUp prepareStartUp(const CommandLineOptions& options, const QString& executableDir) {
    StartUp startUp;
    startUp.settingsDir = resolveSettingsDir(
        options.configDir, executableDir, QStringLiteral("param.ini"), QStringLiteral("relayeur"));
    // The installer of old put param.ini beside the program; here a first run makes the default
    // folder with it and the example profiles, and shows the demo. A folder named on the command
    // line is the user's own and is never filled.
    FirstRun firstRun;
    if (options.configDir.isEmpty() && !QFileInfo::exists(startUp.settingsDir)) {
        firstRun = prepareFirstRun(startUp.settingsDir, defaultDataDirs(executableDir));
        startUp.notes = firstRun.notes;
    }
    QDir().mkpath(startUp.settingsDir);
    startUp.profile = options.profile.isEmpty() ? firstRun.profile : options.profile;
    startUp.start = options.start || (options.profile.isEmpty() && !firstRun.profile.isEmpty());
    if (options.start && startUp.profile.isEmpty()) {
        std::fputs("relayeur: --start sans --profile : rien à envoyer\n", stderr);
    }
    return startUp;
}

// Loads the profile of the command line or of a first run, and presses start when asked.
template <typename Load, typename Start>
void showProfile(const StartUp& startUp, Load load, Start start) {
    if (startUp.profile.isEmpty()) {
        return;
    }
    const bool loaded = load(QDir(startUp.profile).absolutePath());
    if (startUp.start) {
        if (!loaded) {
            std::fputs("relayeur: le profil n'a pas été chargé : rien n'est envoyé\n", stderr);
        }
        start();
    }
}

// One copy per user. Without a runtime folder the program still runs; only a second copy goes
// unnoticed.
bool claimSingleCopy(std::optional<InstanceLock>& instance, MessageBoxes& boxes) {
    const RuntimePath lockPath = InstanceLock::defaultPath(QStringLiteral("relayeur"));
    if (lockPath.path.isEmpty()) {
        std::fprintf(stderr, "relayeur: verrou de copie unique indisponible : %s\n",
                     lockPath.problem.toLocal8Bit().constData());
        return true;
    }
    instance = InstanceLock::acquire(lockPath.path);
    if (!instance) {
        boxes.show(kAppTitle,
                   QStringLiteral("une copie de ") + kWindowCaption +
                       QStringLiteral(" est déja en cour d'éxécution."),
                   MessageIcon::Exclamation);
    }
    return instance.has_value();
}

// No window: the engine alone, its on-screen panel drawn in the terminal.
int runInTerminal(int argc, char* argv[], const CommandLineOptions& options) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("relayeur"));
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
    QObject::connect(&engine, &Engine::pageShown, [&view](const QString& profile, int page) {
        if (view) {
            view->setTitle(
                QStringLiteral("%1 — page %2").arg(QFileInfo(profile).fileName()).arg(page));
        }
    });
    QObject::connect(&engine, &Engine::endedRun, [] { QCoreApplication::exit(0); });
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &engine, &Engine::EndProc);

    // The start-up of the window, without it: no handle to show, the process names the socket.
    engine.HookWindow(QString::number(QCoreApplication::applicationPid(), 16).toUpper());
    for (const QString& note : startUp.notes) {
        engine.logLine(note);
    }
    engine.ReadParm();
    engine.prepare();
    if (OnScreenPanel* panel = engine.onScreenPanel()) {
        view = std::make_unique<TerminalView>(*panel, stdout,
                                              kAppTitle + QStringLiteral(" — aucun profil chargé"));
    }
    showProfile(
        startUp, [&](const QString& profile) { return engine.LoadProfile(profile); },
        [&] { engine.Command1(); });
    const int status = QCoreApplication::exec();
    view.reset(); // prints the panel as the way out left it
    return status;
}

int runInWindow(int argc, char* argv[], const CommandLineOptions& options) {
    // On X11 a repaint through shared memory waits for the server whenever it touches what the
    // last one drew, as the on-screen panel's changing characters do on every refresh: two more
    // wake-ups each time. The panel's few changed cells cost less sent as plain images.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("relayeur"));
    QApplication::setApplicationDisplayName(kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(RELAYEUR_VERSION));
    // The desktop matches the window to the installed menu entry, and so to its icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("relayeur"));
    // Hidden behind the tray icon the program has no window open; only a way out ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<QTranslator> qtTexts = installQtTranslations(QLocale::system());

    QuietMessageBoxes quietBoxes;
    WidgetMessageBoxes widgetBoxes;
    MessageBoxes& boxes = options.quiet ? static_cast<MessageBoxes&>(quietBoxes) : widgetBoxes;
    std::optional<InstanceLock> instance;
    if (!claimSingleCopy(instance, boxes)) {
        return 1;
    }
    const StartUp startUp = prepareStartUp(options, QApplication::applicationDirPath());
    ShellEnvironment environment;
    environment.executableDir = QApplication::applicationDirPath();
    environment.settingsDir = startUp.settingsDir;
    environment.startupNotes = startUp.notes;
    environment.printLog = options.printLog;
    environment.boxes = &boxes;

    F_Interface window(environment);
    widgetBoxes.setParent(&window);
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &window,
                     &F_Interface::m_fic_quitter_Click);
    window.Form_Load(options.minimized);
    showProfile(
        startUp, [&](const QString& profile) { return window.LoadProfile(profile); },
        [&] { window.Command1_Click(); });
    if (window.engine().hasEnded()) {
        return 0;
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // Help, version and mistakes on the command line need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options) {
        std::fputs(parsed.output.toUtf8().constData(), parsed.exitCode == 0 ? stdout : stderr);
        return parsed.exitCode;
    }
    const CommandLineOptions& options = *parsed.options;
    if (options.terminal) {
        return runInTerminal(argc, argv, options);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("relayeur: pas d'écran graphique (DISPLAY) : lancez relayeur --terminal pour "
                   "voir l'afficheur dans le terminal\n",
                   stderr);
        return 1;
    }
    return runInWindow(argc, argv, options);
}
