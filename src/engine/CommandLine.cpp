#include "engine/CommandLine.h"

#include <cstdio>

namespace {

// Written by hand rather than by Qt's parser, whose help and errors would be English.
const QString kHelp = QStringLiteral(
    "Utilisation : relayeur [options]\n"
    "Relayeur : affiche des informations en direct sur un afficheur LCD.\n"
    "\n"
    "Options :\n"
    "  --config-dir DOSSIER  dossier de param.ini (par défaut : le dossier du programme s'il\n"
    "                        contient param.ini, sinon $XDG_CONFIG_HOME/relayeur, créé au\n"
    "                        premier lancement avec des réglages et des profils d'exemple)\n"
    "  --profile FICHIER     charge ce profil .tlcd une fois le démarrage fini (la liste des\n"
    "                        profils récents ne change pas)\n"
    "  --start               appuie ensuite une fois sur « Envoyer sur le LCD ! »\n"
    "  --minimized           démarre caché derrière l'icône de la zone de notification\n"
    "                        (réduit dans la barre des tâches quand il n'y en a pas)\n"
    "  --quiet               pas de boîte de message : chacune va sur la sortie d'erreur,\n"
    "                        sur une ligne\n"
    "  --print-log           écrit aussi chaque ligne du journal sur la sortie standard\n"
    "  --terminal            sans fenêtre : l'afficheur à l'écran (TypeLCD=1) est dessiné\n"
    "                        dans le terminal sous une ligne qui nomme le profil et la page,\n"
    "                        le journal de --print-log défile au-dessus ; les boîtes de\n"
    "                        message vont sur la sortie d'erreur\n"
    "  --version             affiche la version\n"
    "  -h, --help            affiche cette aide\n");

ParsedCommandLine mistake(const QString& what) {
    ParsedCommandLine result;
    result.output = QStringLiteral("relayeur: ") + what +
                    QStringLiteral("\nrelayeur --help donne la liste des options.\n");
    result.exitCode = 2;
    return result;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    CommandLineOptions options;
    const std::pair<QString, bool*> flags[] = {{QStringLiteral("--start"), &options.start},
                                               {QStringLiteral("--minimized"), &options.minimized},
                                               {QStringLiteral("--quiet"), &options.quiet},
                                               {QStringLiteral("--print-log"), &options.printLog},
                                               {QStringLiteral("--terminal"), &options.terminal}};
    const std::pair<QString, QString*> values[] = {
        {QStringLiteral("--config-dir"), &options.configDir},
        {QStringLiteral("--profile"), &options.profile}};

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            ParsedCommandLine result;
            result.output = kHelp;
            return result;
        }
        if (argument == QLatin1String("--version")) {
            ParsedCommandLine result;
            result.output = QStringLiteral("relayeur %1\n").arg(QStringLiteral(RELAYEUR_VERSION));
            return result;
        }
        bool known = false;
        for (const auto& [name, flag] : flags) {
            if (argument == name) {
                *flag = known = true;
            }
        }
        for (const auto& [name, value] : values) {
            if (argument.startsWith(name + QLatin1Char('='))) {
                *value = argument.mid(name.size() + 1);
                known = true;
            } else if (argument == name) {
                if (i + 1 >= arguments.size()) {
                    return mistake(QStringLiteral("il manque une valeur après ") + name);
                }
                *value = arguments[++i];
                known = true;
            }
        }
        if (!known) {
            return mistake(argument.startsWith(QLatin1Char('-'))
                               ? QStringLiteral("option inconnue : ") + argument
                               : QStringLiteral("argument inattendu : ") + argument);
        }
    }
    options.quiet = options.quiet || options.terminal;
    ParsedCommandLine result;
    result.options = options;
    return result;
}

std::optional<CommandLineOptions> readCommandLine(int argc, char* argv[], int& exitCode) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options) {
        std::fputs(parsed.output.toUtf8().constData(), parsed.exitCode == 0 ? stdout : stderr);
    }
    exitCode = parsed.exitCode;
    return parsed.options;
}
