#include "platform/InstanceLock.h"
#include "platform/SettingsDir.h"
#include "shell/CommandLine.h"
#include "shell/F_Interface.h"
#include "shell/FirstRun.h"
#include "shell/QtTranslations.h"
#include "shell/TerminationSignals.h"
#include "shell/WidgetMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace {

// Without a display, Qt's remarks about the window it cannot show would only disturb the panel
// drawn in the terminal.
void quietWindowMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QStringLiteral("This plugin does not support"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
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
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietWindowMessages);
    } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
               qEnvironmentVariableIsEmpty("DISPLAY") &&
               qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("relayeur: pas d'écran graphique (DISPLAY) : lancez relayeur --terminal pour "
                   "voir l'afficheur dans le terminal\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("relayeur"));
    QApplication::setApplicationDisplayName(kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(RELAYEUR_VERSION));
    // Hidden behind the tray icon the program has no window open; only a way out ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<QTranslator> qtTexts = installQtTranslations(QLocale::system());

    QuietMessageBoxes quietBoxes;
    WidgetMessageBoxes widgetBoxes;
    MessageBoxes& boxes = options.quiet ? static_cast<MessageBoxes&>(quietBoxes) : widgetBoxes;

    // Without a runtime folder the program still runs, only a second copy goes unnoticed.
    const RuntimePath lockPath = InstanceLock::defaultPath(QStringLiteral("relayeur"));
    std::optional<InstanceLock> instance;
    if (lockPath.path.isEmpty()) {
        std::fprintf(stderr, "relayeur: verrou de copie unique indisponible : %s\n",
                     lockPath.problem.toLocal8Bit().constData());
    } else {
        instance = InstanceLock::acquire(lockPath.path);
        if (!instance) {
            boxes.show(kAppTitle,
                       QStringLiteral("une copie de ") + kWindowCaption +
                           QStringLiteral(" est déja en cour d'éxécution."),
                       MessageIcon::Exclamation);
            return 1;
        }
    }

    ShellEnvironment environment;
    environment.executableDir = QApplication::applicationDirPath();
    environment.settingsDir =
        resolveSettingsDir(options.configDir, environment.executableDir,
                           QStringLiteral("param.ini"), QStringLiteral("relayeur"));
    // The installer of old put param.ini beside the program; here a first run makes the default
    // folder with it and the example profiles, and shows the demo. A folder named on the command
    // line is the user's own and is never filled.
    FirstRun firstRun;
    if (options.configDir.isEmpty() && !QFileInfo::exists(environment.settingsDir)) {
        firstRun =
            prepareFirstRun(environment.settingsDir, defaultDataDirs(environment.executableDir));
        environment.startupNotes = firstRun.notes;
    }
    QDir().mkpath(environment.settingsDir);
    environment.printLog = options.printLog;
    environment.terminal = options.terminal;
    environment.boxes = &boxes;

    F_Interface window(environment);
    widgetBoxes.setParent(&window);
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &window,
                     &F_Interface::m_fic_quitter_Click);

    window.Form_Load(options.minimized || options.terminal);
    const QString profile = options.profile.isEmpty() ? firstRun.profile : options.profile;
    if (!profile.isEmpty()) {
        const bool loaded = window.LoadProfile(QDir(profile).absolutePath());
        if (options.start || options.profile.isEmpty()) {
            if (!loaded) {
                std::fputs("relayeur: le profil n'a pas été chargé : rien n'est envoyé\n", stderr);
            }
            window.Command1_Click();
        }
    } else if (options.start) {
        std::fputs("relayeur: --start sans --profile : rien à envoyer\n", stderr);
    }
    if (window.hasEnded()) {
        return 0;
    }
    return QApplication::exec();
}
