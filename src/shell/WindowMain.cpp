// relayeur-window: Relayeur with its window, which relayeur runs in its place when there is a
// display, so that the terminal never loads Qt's graphical libraries.
#include "engine/CommandLine.h"
#include "engine/StartUp.h"
#include "engine/TerminationSignals.h"
#include "shell/F_Interface.h"
#include "shell/QtTranslations.h"
#include "shell/WidgetMessageBoxes.h"
#include "texts/ProgramTranslation.h"

#include <QApplication>
#include <QDir>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // relayeur has read the command line already; this reads it again for the options.
    int exitCode = 0;
    const std::optional<CommandLineOptions> read = readCommandLine(argc, argv, exitCode);
    if (!read) {
        return exitCode;
    }
    const CommandLineOptions& options = *read;

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
    // From the first moment, so that no Ctrl+C ends the program without its clean-up.
    TerminationSignals signals;
    const std::unique_ptr<QTranslator> qtTexts = installQtTranslations(QLocale::system());
    const std::unique_ptr<QTranslator> texts = installProgramTranslation();
    // Settings and data are found from relayeur's folder, not from this program's private one;
    // the programs the window opens do not inherit the variable.
    const QString programDir =
        qEnvironmentVariable(kProgramDirVariable, QApplication::applicationDirPath());
    ::unsetenv(kProgramDirVariable);

    QuietMessageBoxes quietBoxes;
    WidgetMessageBoxes widgetBoxes;
    MessageBoxes& boxes = options.quiet ? static_cast<MessageBoxes&>(quietBoxes) : widgetBoxes;
    std::optional<InstanceLock> instance;
    if (!claimSingleCopy(instance, boxes)) {
        return 1;
    }
    const StartUp startUp = prepareStartUp(options, programDir);
    ShellEnvironment environment;
    environment.executableDir = programDir;
    environment.settingsDir = startUp.settingsDir;
    environment.printLog = options.printLog;
    environment.boxes = &boxes;
    // As relayeur --detecter: a folder standing for / where devices are looked for.
    environment.deviceDirs = DeviceDirs::under(qEnvironmentVariable("RELAYEUR_DEV_ROOT"));

    F_Interface window(environment);
    widgetBoxes.setParent(&window);
    QObject::connect(&signals, &TerminationSignals::received, &window,
                     &F_Interface::m_fic_quitter_Click);
    if (!options.edit.isEmpty()) {
        const QString edited = QDir(options.edit).absolutePath();
        QObject::connect(
            &window.engine(), &Engine::startedUp, &window,
            [&window, edited] { window.editProfile(edited); }, Qt::SingleShotConnection);
    }
    window.Form_Load(startUp, options.minimized);
    return QApplication::exec();
}
