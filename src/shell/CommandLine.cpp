#include "shell/CommandLine.h"

#include <QCommandLineParser>

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Relayeur : affiche des informations en direct sur un afficheur LCD."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Affiche la version."));
    const QCommandLineOption configDir(
        QStringLiteral("config-dir"),
        QStringLiteral("Dossier de param.ini (par défaut : le dossier du programme s'il contient "
                       "param.ini, sinon $XDG_CONFIG_HOME/relayeur)."),
        QStringLiteral("DIR"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QStringLiteral("Charge ce profil .tlcd une fois le démarrage fini (la liste des profils "
                       "récents ne change pas)."),
        QStringLiteral("FILE"));
    const QCommandLineOption start(
        QStringLiteral("start"),
        QStringLiteral("Appuie ensuite une fois sur « Envoyer sur le LCD ! »."));
    const QCommandLineOption minimized(QStringLiteral("minimized"),
                                       QStringLiteral("Démarre caché derrière l'icône de la zone "
                                                      "de notification."));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("N'affiche pas les boîtes de message : chacune "
                                                  "va sur la sortie d'erreur, sur une ligne."));
    const QCommandLineOption printLog(QStringLiteral("print-log"),
                                      QStringLiteral("Écrit aussi chaque ligne du journal sur la "
                                                     "sortie standard."));
    const QCommandLineOption terminal(
        QStringLiteral("terminal"),
        QStringLiteral("Sans fenêtre : l'afficheur à l'écran (TypeLCD=1) est dessiné dans le "
                       "terminal sous le nom du profil et de la page, le journal de --print-log "
                       "au-dessus ; les boîtes de message vont sur la sortie d'erreur."));
    parser.addOptions(
        {help, version, configDir, profile, start, minimized, quiet, printLog, terminal});

    // Parsed before Qt starts, so the parser does not know the program's name yet.
    const QString helpText =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("relayeur"));
    ParsedCommandLine result;
    if (!parser.parse(arguments)) {
        result.output = parser.errorText() + QStringLiteral("\n\n") + helpText;
        result.exitCode = 2;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.output = QStringLiteral("Argument inattendu : ") +
                        parser.positionalArguments().join(' ') + QStringLiteral("\n\n") + helpText;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help)) {
        result.output = helpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.output = QStringLiteral("relayeur %1\n").arg(QStringLiteral(RELAYEUR_VERSION));
        return result;
    }
    CommandLineOptions options;
    options.configDir = parser.value(configDir);
    options.profile = parser.value(profile);
    options.start = parser.isSet(start);
    options.minimized = parser.isSet(minimized);
    options.quiet = parser.isSet(quiet);
    options.printLog = parser.isSet(printLog);
    options.terminal = parser.isSet(terminal);
    options.quiet = options.quiet || options.terminal;
    result.options = options;
    return result;
}
