#include "detect/DetectConsole.h"

#include "detect/PanelChoice.h"
#include "drivers/I2cBackpack.h"

#include <QCoreApplication>

namespace {

// A number from 0 to `highest` read from the user, after `prompt`; -1 for an empty line, none
// once the input has ended.
std::optional<int> askNumber(QTextStream& in, QTextStream& out, const QString& prompt,
                             int highest) {
    for (;;) {
        out << prompt << Qt::flush;
        QString line;
        if (!in.readLineInto(&line)) {
            out << Qt::endl;
            return std::nullopt;
        }
        line = line.trimmed();
        if (line.isEmpty()) {
            return -1;
        }
        bool ok = false;
        const int number = line.toInt(&ok);
        if (ok && number >= 0 && number <= highest) {
            return number;
        }
        out << QCoreApplication::translate("DetectConsole",
                                           "« %1 » : un nombre de 0 à %2 est attendu.")
                   .arg(line)
                   .arg(highest)
            << Qt::endl;
    }
}

// The wiring under which the backpack reads right, tried one after the other; 0 for none.
int chooseWiring(const Candidate& candidate, const QString& settingsFile, QTextStream& in,
                 QTextStream& out) {
    const ModuleSettings settings = trialSettings(settingsFile);
    const auto& wirings = backpackWirings();
    out << QCoreApplication::translate("DetectConsole",
                                       "Chaque brochage est essayé à son tour : « Relayeur » en "
                                       "ligne 1, le brochage en ligne 2.")
        << Qt::endl;
    for (std::size_t next = 0;; next = (next + 1) % wirings.size()) {
        const BackpackWiring& wiring = wirings[next];
        QString error;
        if (tryWiring(candidate, wiring.number, settings, error)) {
            out << QCoreApplication::translate("DetectConsole", "Brochage %1 essayé.")
                       .arg(wiring.number)
                << Qt::endl;
        } else {
            out << QCoreApplication::translate(
                       "DetectConsole", "Brochage %1 : l'afficheur n'a pas pu être écrit (%2).")
                       .arg(wiring.number)
                       .arg(error)
                << Qt::endl;
        }
        const std::optional<int> answer =
            askNumber(in, out,
                      QCoreApplication::translate("DetectConsole",
                                                  "Numéro du brochage qui s'affiche bien (Entrée : "
                                                  "essayer le suivant, 0 : aucun) : "),
                      int(wirings.size()));
        if (!answer || *answer == 0) {
            return 0;
        }
        if (*answer > 0) {
            return *answer;
        }
    }
}

} // namespace

int runDetection(const SearchPlaces& places, const QString& settingsFile, QTextStream& in,
                 QTextStream& out) {
    out << QCoreApplication::translate("DetectConsole", "Recherche des afficheurs…") << Qt::endl;
    const std::vector<Candidate> found = searchPanels(places);
    std::vector<const Candidate*> choices;
    for (const Candidate& candidate : found) {
        const bool choosable = candidate.usable && !candidate.inUse;
        if (choosable) {
            choices.push_back(&candidate);
        }
        QString line =
            (choosable ? QStringLiteral("%1. ").arg(choices.size()) : QStringLiteral("-  ")) +
            describeCandidate(candidate);
        if (choosable) {
            std::vector<SettingChange> settings = settingsFor(candidate);
            if (candidate.typeLcd == 5) {
                settings.back().value = QCoreApplication::translate("DetectConsole", "(à essayer)");
            }
            line += QStringLiteral("\n   → ") + describeSettings(settings);
        }
        out << line << Qt::endl;
    }
    if (choices.empty()) {
        out << (found.empty()
                    ? QCoreApplication::translate("DetectConsole", "Aucun afficheur trouvé.")
                    : QCoreApplication::translate("DetectConsole",
                                                  "Aucun afficheur utilisable trouvé."))
            << Qt::endl;
        return 1;
    }
    const std::optional<int> picked =
        askNumber(in, out,
                  QCoreApplication::translate(
                      "DetectConsole", "Numéro de l'afficheur à utiliser (Entrée : aucun) : "),
                  int(choices.size()));
    if (!picked || *picked <= 0) {
        out << QCoreApplication::translate("DetectConsole",
                                           "Aucun afficheur choisi : rien n'est écrit.")
            << Qt::endl;
        return 1;
    }
    const Candidate& chosen = *choices[std::size_t(*picked - 1)];
    int wiring = 0;
    if (chosen.typeLcd == 5) {
        wiring = chooseWiring(chosen, settingsFile, in, out);
        if (wiring == 0) {
            out << QCoreApplication::translate("DetectConsole",
                                               "Aucun brochage ne convient : rien n'est écrit.")
                << Qt::endl;
            return 1;
        }
    } else {
        const std::optional<int> confirmed = askNumber(
            in, out,
            QCoreApplication::translate("DetectConsole", "Utiliser %1 ? (1 : oui, 0 : non) : ")
                .arg(describeCandidate(chosen)),
            1);
        if (!confirmed || *confirmed != 1) {
            out << QCoreApplication::translate("DetectConsole", "Rien n'est écrit.") << Qt::endl;
            return 1;
        }
    }
    const std::vector<SettingChange> settings = settingsFor(chosen, wiring);
    QString error;
    if (!writeSettings(settingsFile, settings, error)) {
        out << QCoreApplication::translate("DetectConsole", "Erreur : %1").arg(error) << Qt::endl;
        return 1;
    }
    out << describeSettings(settings) << Qt::endl << settingsWrittenText(settingsFile) << Qt::endl;
    return 0;
}
