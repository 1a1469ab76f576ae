// relayeur-send: puts a text on one line of the panel of the running Relayeur, the way another
// program would with a line message.
#include "linemessage/LineMessage.h"
#include "platform/AnsiText.h"
#include "platform/UnixSocket.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <sys/socket.h>
#include <vector>

namespace {

const char kUsage[] =
    "Usage : relayeur-send [options] TEXTE MODE LIGNE\n"
    "        relayeur-send [options] --raw OCTETS\n"
    "Met TEXTE sur la ligne LIGNE (0 à 3, 0 en haut) de l'afficheur du Relayeur en cours,\n"
    "avec le mode de défilement MODE (0 fixe, 1 aller-retour, 2 vers la gauche,\n"
    "3 vers la droite, 4 bargraphe). Le texte passe en Windows-1252.\n"
    "\n"
    "  --raw OCTETS   envoie OCTETS tels quels comme contenu du message ; \\xHH y désigne\n"
    "                 un octet quelconque, \\\\ une barre oblique inverse\n"
    "  --dwdata N     la valeur dwData du message (3 par défaut : seul 3 change une ligne)\n"
    "  --window HEX   le Relayeur dont la fenêtre porte cet identifiant (le nombre en bas à\n"
    "                 droite de sa fenêtre) ; par défaut, le Relayeur de cet utilisateur\n"
    "  --help         affiche cette aide\n"
    "\n"
    "Code de sortie : 0 ligne changée, 1 aucun Relayeur ne répond, 2 commande incorrecte,\n"
    "3 message laissé de côté par Relayeur.\n";

constexpr int kWaitMs = 5000;

enum Exit { kDone = 0, kNoRelayeur = 1, kUsageError = 2, kRefused = 3 };

void say(const QString& text) {
    std::fprintf(stderr, "relayeur-send : %s\n", text.toLocal8Bit().constData());
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
    quint32 dwData = linemessage::kLineMessageData;
    QString window; // empty: the default socket
    QByteArray data;
};

// Reads the command line; on a mistake, says what is wrong and gives the exit status.
std::optional<Request> parseArguments(int argc, char** argv, int& status) {
    Request request;
    std::optional<QByteArray> raw;
    QList<const char*> positional;
    status = kUsageError;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            status = kDone;
            return std::nullopt;
        } else if (arg == "--raw" && hasValue) {
            raw = unescape(argv[++i]);
            if (!raw) {
                say(QStringLiteral("--raw : échappement incorrect (\\xHH ou \\\\ attendu)"));
                return std::nullopt;
            }
        } else if (arg == "--dwdata" && hasValue) {
            bool ok = false;
            request.dwData = QByteArray(argv[++i]).toUInt(&ok, 0);
            if (!ok) {
                say(QStringLiteral("--dwdata : un nombre de 0 à 4294967295 est attendu"));
                return std::nullopt;
            }
        } else if (arg == "--window" && hasValue) {
            QByteArray hex = argv[++i];
            if (hex.startsWith("0x") || hex.startsWith("0X")) {
                hex = hex.mid(2);
            }
            bool ok = false;
            const qulonglong handle = hex.toULongLong(&ok, 16);
            if (!ok) {
                say(QStringLiteral("--window : un identifiant hexadécimal est attendu"));
                return std::nullopt;
            }
            request.window = QString::number(handle, 16).toUpper();
        } else if (arg.startsWith("--")) {
            say(QStringLiteral("option inconnue ou sans valeur : ") + QString::fromLocal8Bit(arg));
            return std::nullopt;
        } else {
            positional.append(argv[i]);
        }
    }
    if (raw) {
        if (!positional.isEmpty()) {
            say(QStringLiteral("--raw ne se combine pas avec TEXTE MODE LIGNE"));
            return std::nullopt;
        }
        request.data = *raw;
        return request;
    }
    if (positional.size() != 3) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    const std::optional<QString> text = decodeArgument(positional[0]);
    const QByteArray mode = positional[1];
    const QByteArray line = positional[2];
    if (!text) {
        say(QStringLiteral("le texte n'est lisible ni dans l'encodage de la locale ni en UTF-8"));
        return std::nullopt;
    }
    if (mode.size() != 1 || mode[0] < '0' || mode[0] > '4') {
        say(QStringLiteral("MODE : un chiffre de 0 à 4 est attendu"));
        return std::nullopt;
    }
    if (line.size() != 1 || line[0] < '0' || line[0] > '3') {
        say(QStringLiteral("LIGNE : un chiffre de 0 à 3 est attendu"));
        return std::nullopt;
    }
    request.data = ansi::fromUnicode(*text) + mode + line;
    return request;
}

int send(const Request& request) {
    const QString name = request.window.isEmpty() ? linemessage::kDefaultName : request.window;
    const RuntimePath dir = linemessage::defaultDir();
    if (dir.path.isEmpty()) {
        say(QStringLiteral("aucun Relayeur ne peut être joint : ") + dir.problem);
        return kNoRelayeur;
    }
    const QString path = linemessage::socketPath(dir.path, name);
    const FileDescriptor socket = connectUnixSocket(path, kWaitMs);
    if (socket.get() < 0) {
        say(request.window.isEmpty()
                ? QStringLiteral("aucun Relayeur ne tourne pour cet utilisateur (rien n'écoute "
                                 "sur %1)")
                      .arg(path)
                : QStringLiteral("aucun Relayeur n'a la fenêtre %1 (rien n'écoute sur %2)")
                      .arg(request.window, path));
        return kNoRelayeur;
    }
    // A message too long is cut off by Relayeur, which then says nothing: the answer tells.
    const QByteArray message = linemessage::encode(request.dwData, request.data);
    for (qsizetype sent = 0; sent < message.size();) {
        const ssize_t n =
            ::send(socket.get(), message.constData() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        sent += n;
    }
    QByteArray reply(linemessage::kReplyBytes, '\0');
    qsizetype received = 0;
    while (received < reply.size()) {
        const ssize_t n = ::recv(socket.get(), reply.data() + received, reply.size() - received, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        received += n;
    }
    if (received < reply.size()) {
        say(QStringLiteral("Relayeur n'a pas répondu : le message est trop long (plus de %1 "
                           "octets) ou Relayeur s'est arrêté")
                .arg(linemessage::kMaxDataBytes));
        return kRefused;
    }
    if (linemessage::decodeReply(reply) != linemessage::kTaken) {
        say(QStringLiteral("Relayeur a laissé le message de côté : il faut dwData 3 et, dans les "
                           "255 premiers octets, un texte suivi du chiffre du mode et de celui de "
                           "la ligne (0 à 3)"));
        return kRefused;
    }
    return kDone;
}

} // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "");
    int status = kDone;
    const std::optional<Request> request = parseArguments(argc, argv, status);
    if (!request) {
        return status;
    }
    return send(*request);
}
