// relayeur-send: puts a text on one line of the panel of the running Relayeur, the way another
// program would with a line message.
#include "linemessage/LineMessage.h"
#include "platform/AnsiText.h"
#include "platform/CommandLineParser.h"
#include "platform/NonBlockingStream.h"
#include "platform/UnixSocket.h"
#include "texts/ProgramTranslation.h"

#include <QCoreApplication>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <vector>

namespace {

const char kUsage[] = QT_TRANSLATE_NOOP(
    "relayeur-send",
    "Usage : relayeur-send [options] TEXTE MODE LIGNE\n"
    "        relayeur-send [options] --raw OCTETS\n"
    "Met TEXTE sur la ligne LIGNE (0 à 3, 0 en haut) de l'afficheur du Relayeur en cours,\n"
    "avec le mode de défilement MODE (0 fixe, 1 aller-retour, 2 vers la gauche,\n"
    "3 vers la droite, 4 bargraphe). Le texte passe en Windows-1252. Sans --hold, la page\n"
    "suivante remplace la ligne dès qu'elle diffère.\n"
    "\n"
    "  --hold SECONDES\n"
    "                 la ligne garde le texte SECONDES secondes (0 à 86400) quelles que\n"
    "                 soient les pages, puis la page en cours reprend sa ligne ; 0 : comme\n"
    "                 sans --hold\n"
    "  --raw OCTETS   envoie OCTETS tels quels comme contenu du message ; \\xHH y désigne\n"
    "                 un octet quelconque, \\\\ une barre oblique inverse\n"
    "  --dwdata N     la valeur dwData du message (3 par défaut, 4 avec --hold)\n"
    "  --window HEX   le Relayeur dont la fenêtre porte cet identifiant (le nombre en bas à\n"
    "                 droite de sa fenêtre) ; par défaut, le Relayeur de cet utilisateur\n"
    "  --help         affiche cette aide\n"
    "\n"
    "Code de sortie : 0 ligne changée, 1 aucun Relayeur ne répond, 2 commande incorrecte,\n"
    "3 message laissé de côté par Relayeur.\n");

QByteArray usage() {
    return QCoreApplication::translate("relayeur-send", kUsage).toLocal8Bit();
}

constexpr int kWaitMs = 5000;

enum Exit { kDone = 0, kNoRelayeur = 1, kUsageError = cli::kUsageError, kRefused = 3 };

void say(const QString& text) {
    std::fputs(
        (QCoreApplication::translate("relayeur-send", "relayeur-send : %1").arg(text) + u'\n')
            .toLocal8Bit(),
        stderr);
}

// An argument as the user typed it: in the locale's encoding, else in UTF-8.
std::optional<QString> decodeArgument(const char* arg) {
    std::mbstate_t state{};
    const char* source = arg;
    const size_t length = std::mbsrtowcs(nullptr, &source, 0, &state);
    if (length != static_cast<size_t>(-1)) {
        std::vector<wchar_t> wide(length + 1);
        source = arg;
        state = std::mbstate_t{};
        std::mbsrtowcs(wide.data(), &source, wide.size(), &state);
        return QString::fromWCharArray(wide.data(), static_cast<qsizetype>(length));
    }
    const QByteArray bytes(arg);
    const QString utf8 = QString::fromUtf8(bytes);
    if (utf8.toUtf8() == bytes) {
        return utf8;
    }
    return std::nullopt;
}

// The bytes of --raw: as given, with \xHH for any byte and \\ for a backslash.
std::optional<QByteArray> unescape(const QByteArray& given) {
    QByteArray out;
    for (qsizetype i = 0; i < given.size(); ++i) {
        if (given[i] != '\\') {
            out.append(given[i]);
        } else if (i + 1 < given.size() && given[i + 1] == '\\') {
            out.append('\\');
            ++i;
        } else if (i + 3 < given.size() && given[i + 1] == 'x') {
            bool ok = false;
            const int byte = given.mid(i + 2, 2).toInt(&ok, 16);
            if (!ok) {
                return std::nullopt;
            }
            out.append(static_cast<char>(byte));
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

struct Request {
    std::optional<quint32> dwData; // none: what the message is
    QString window;                // empty: the default socket
    QByteArray data;
};

// Tells a mistake on the command line; nothing to send.
std::optional<Request> refuse(const QString& mistake) {
    std::fputs(cli::mistakeText(QStringLiteral("relayeur-send"), mistake).toLocal8Bit(), stderr);
    return std::nullopt;
}

// A message that stays when there is a hold; without one, the message every Relayeur knows.
Request withHold(Request request, qint32 hold) {
    if (hold > 0) {
        request.data = linemessage::held(hold, request.data);
    }
    if (!request.dwData) {
        request.dwData = hold > 0 ? linemessage::kHeldMessageData : linemessage::kLineMessageData;
    }
    return request;
}

// Reads the command line; on a mistake, says what is wrong and gives the exit status.
std::optional<Request> parseArguments(int argc, char** argv, int& status) {
    Request request;
    std::optional<QByteArray> raw;
    qint32 hold = 0;
    QByteArrayList positional;
    bool help = false;
    status = kUsageError;
    const QString mistake = cli::parse(
        cli::arguments(argc, argv),
        {{"--help", "-h", {}, [&] { help = true; }},
         {"--raw", nullptr,
          [&](const QByteArray& value) {
              raw = unescape(value);
              return raw ? QString()
                         : QCoreApplication::translate(
                               "relayeur-send", "échappement incorrect (\\xHH ou \\\\ attendu)");
          }},
         {"--hold", nullptr,
          [&](const QByteArray& value) {
              bool ok = false;
              hold = value.toInt(&ok, 10);
              return ok && hold >= 0 && hold <= linemessage::kMaxHoldSeconds
                         ? QString()
                         : QCoreApplication::translate(
                               "relayeur-send", "un nombre de secondes de 0 à %1 est attendu")
                               .arg(linemessage::kMaxHoldSeconds);
          }},
         {"--dwdata", nullptr,
          [&](const QByteArray& value) {
              bool ok = false;
              request.dwData = value.toUInt(&ok, 0);
              return ok ? QString()
                        : QCoreApplication::translate("relayeur-send",
                                                      "un nombre de 0 à 4294967295 est attendu");
          }},
         {"--window", nullptr,
          [&](const QByteArray& value) {
              const QByteArray hex =
                  value.startsWith("0x") || value.startsWith("0X") ? value.mid(2) : value;
              bool ok = false;
              const qulonglong handle = hex.toULongLong(&ok, 16);
              request.window = QString::number(handle, 16).toUpper();
              return ok ? QString()
                        : QCoreApplication::translate("relayeur-send",
                                                      "un identifiant hexadécimal est attendu");
          }}},
        &positional);
    if (help) {
        std::fputs(usage(), stdout);
        status = kDone;
        return std::nullopt;
    }
    if (!mistake.isEmpty()) {
        return refuse(mistake);
    }
    if (raw) {
        if (!positional.isEmpty()) {
            return refuse(QCoreApplication::translate(
                "relayeur-send", "--raw ne se combine pas avec TEXTE MODE LIGNE"));
        }
        request.data = *raw;
        return withHold(std::move(request), hold);
    }
    if (positional.size() != 3) {
        std::fputs(usage(), stderr);
        return std::nullopt;
    }
    const std::optional<QString> text = decodeArgument(positional[0].constData());
    const QByteArray mode = positional[1];
    const QByteArray line = positional[2];
    if (!text) {
        return refuse(QCoreApplication::translate(
            "relayeur-send", "le texte n'est lisible ni dans l'encodage de la locale ni en UTF-8"));
    }
    if (mode.size() != 1 || mode[0] < '0' || mode[0] > '4') {
        return refuse(
            QCoreApplication::translate("relayeur-send", "MODE : un chiffre de 0 à 4 est attendu"));
    }
    if (line.size() != 1 || line[0] < '0' || line[0] > '3') {
        return refuse(QCoreApplication::translate("relayeur-send",
                                                  "LIGNE : un chiffre de 0 à 3 est attendu"));
    }
    request.data = ansi::fromUnicode(*text) + mode + line;
    return withHold(std::move(request), hold);
}

int send(const Request& request) {
    const QString name = request.window.isEmpty() ? linemessage::kDefaultName : request.window;
    const RuntimePath dir = linemessage::defaultDir();
    if (dir.path.isEmpty()) {
        say(QCoreApplication::translate("relayeur-send", "aucun Relayeur ne peut être joint : %1")
                .arg(dir.problem));
        return kNoRelayeur;
    }
    const QString path = linemessage::socketPath(dir.path, name);
    const FileDescriptor socket = connectUnixSocket(path, kWaitMs);
    if (socket.get() < 0) {
        say(request.window.isEmpty()
                ? QCoreApplication::translate(
                      "relayeur-send",
                      "aucun Relayeur ne tourne pour cet utilisateur (rien n'écoute sur %1)")
                      .arg(path)
                : QCoreApplication::translate(
                      "relayeur-send", "aucun Relayeur n'a la fenêtre %1 (rien n'écoute sur %2)")
                      .arg(request.window, path));
        return kNoRelayeur;
    }
    // A message too long is cut off by Relayeur, which then says nothing: the answer tells.
    QByteArray message = linemessage::encode(*request.dwData, request.data);
    stream::writeAll(socket.get(), message, QDeadlineTimer(kWaitMs));
    QByteArray reply;
    if (!stream::readAll(socket.get(), reply, linemessage::kReplyBytes, QDeadlineTimer(kWaitMs))) {
        say(QCoreApplication::translate("relayeur-send",
                                        "Relayeur n'a pas répondu : le message est trop long (plus "
                                        "de %1 octets) ou Relayeur s'est arrêté")
                .arg(linemessage::kMaxDataBytes));
        return kRefused;
    }
    if (linemessage::decodeReply(reply) != linemessage::kTaken) {
        say(QCoreApplication::translate(
            "relayeur-send",
            "Relayeur a laissé le message de côté : il faut dwData 3 (ou 4 après --hold, que seul "
            "un Relayeur récent connaît) et, dans les 255 premiers octets, un texte suivi du "
            "chiffre du mode et de celui de la ligne (0 à 3) ; son journal dit pourquoi"));
        return kRefused;
    }
    return kDone;
}

} // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "");
    // Made for the translation of the texts alone, where they are translated: this program runs
    // no event loop.
    std::optional<QCoreApplication> application;
    if (translationWanted()) {
        application.emplace(argc, argv);
    }
    const std::unique_ptr<QTranslator> texts = installProgramTranslation();
    int status = kDone;
    const std::optional<Request> request = parseArguments(argc, argv, status);
    if (!request) {
        return status;
    }
    return send(*request);
}
