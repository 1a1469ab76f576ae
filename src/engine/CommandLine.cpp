#include "engine/CommandLine.h"

#include "platform/CommandLineParser.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

// Written by hand rather than by Qt's parser, whose help and errors would be English.
const char kHelp[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Utilisation : relayeur [options]\n"
    "Relayeur : affiche des informations en direct sur un afficheur LCD.\n"
    "\n"
    "Options :\n"
    "  --config-dir DOSSIER  dossier de param.ini, jamais créé ni rempli (par défaut : le\n"
    "                        dossier du programme s'il contient param.ini, sinon\n"
    "                        $XDG_CONFIG_HOME/relayeur, créé au premier lancement avec des\n"
    "                        réglages et des profils d'exemple)\n"
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
    "  --editer FICHIER      ouvre ce profil dans l'éditeur de profil une fois le\n"
    "                        démarrage fini ; un fichier qui n'existe pas encore donne un\n"
    "                        nouveau profil, enregistré sous ce nom (pas avec --terminal)\n"
    "  --detecter            cherche les afficheurs que la machine atteint (I2C, USB série,\n"
    "                        /dev/lcd, port parallèle, LCDd), les liste avec les réglages\n"
    "                        qui les pilotent et, après vos réponses (des numéros), écrit\n"
    "                        ceux de l'afficheur choisi dans param.ini ; rien n'est écrit\n"
    "                        sur un afficheur que vous n'avez pas choisi. Se combine avec\n"
    "                        --config-dir seulement\n"
    "  --version             affiche la version\n"
    "  -h, --help            affiche cette aide\n");

// The search asks its own questions: no profile, window or feed goes with it.
bool detectAlone(const CommandLineOptions& options) {
    return options.profile.isEmpty() && !options.start && !options.minimized && !options.quiet &&
           !options.printLog && !options.terminal && options.edit.isEmpty();
}

// Options that cannot go together; empty when they all can.
QString combinationMistake(const CommandLineOptions& options) {
    if (options.detect && !detectAlone(options)) {
        return QCoreApplication::translate("CommandLine",
                                           "--detecter se combine avec --config-dir seulement");
    }
    if (!options.edit.isEmpty() && options.terminal) {
        return QCoreApplication::translate(
            "CommandLine", "--editer ouvre une fenêtre : il ne se combine pas avec --terminal");
    }
    return {};
}

} // namespace

ParsedCommandLine parseCommandLine(const QByteArrayList& arguments) {
    CommandLineOptions options;
    bool help = false;
    bool version = false;
    const auto text = [](QString& into) {
        return [&into](const QByteArray& value) {
            into = QString::fromLocal8Bit(value);
            return QString();
        };
    };
    const auto set = [](bool& flag) { return [&flag] { flag = true; }; };
    const QString mistake = cli::parse(arguments.mid(1),
                                       {{"--config-dir", nullptr, text(options.configDir)},
                                        {"--profile", nullptr, text(options.profile)},
                                        {"--start", nullptr, {}, set(options.start)},
                                        {"--minimized", nullptr, {}, set(options.minimized)},
                                        {"--quiet", nullptr, {}, set(options.quiet)},
                                        {"--print-log", nullptr, {}, set(options.printLog)},
                                        {"--terminal", nullptr, {}, set(options.terminal)},
                                        {"--editer", nullptr, text(options.edit)},
                                        {"--detecter", nullptr, {}, set(options.detect)},
                                        {"--version", nullptr, {}, set(version)},
                                        {"--help", "-h", {}, set(help)}},
                                       nullptr);
    ParsedCommandLine result;
    // The help and the version answer at once, whatever follows them.
    if (help) {
        result.output = QCoreApplication::translate("CommandLine", kHelp);
    } else if (version) {
        result.output = QStringLiteral("relayeur %1\n").arg(QStringLiteral(RELAYEUR_VERSION));
    } else if (const QString refused = combinationMistake(options);
               !mistake.isEmpty() || !refused.isEmpty()) {
        result.output =
            cli::mistakeText(QStringLiteral("relayeur"), !mistake.isEmpty() ? mistake : refused);
        result.exitCode = cli::kUsageError;
    } else {
        options.quiet = options.quiet || options.terminal;
        result.options = options;
    }
    return result;
}

std::optional<CommandLineOptions> readCommandLine(int argc, char* argv[], int& exitCode) {
    QByteArrayList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(argv[i]);
    }
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options) {
        std::fputs(parsed.output.toUtf8().constData(), parsed.exitCode == 0 ? stdout : stderr);
    }
    exitCode = parsed.exitCode;
    return parsed.options;
}
