#include "engine/MqttBridge.h"

#include "linemessage/LineMessage.h"
#include "platform/USEINI.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

namespace {

const QString kSection = QStringLiteral("mqtt");
const QString kDiscoveryPrefix = QStringLiteral("homeassistant/");
const QString kHomeAssistantStatus = QStringLiteral("homeassistant/status");
constexpr quint16 kPlainPort = 1883;
constexpr quint16 kTlsPort = 8883;
// A dropped message is told at most this often: a sender in a loop would fill the log.
constexpr qint64 kOversizedTellMs = 60 * 1000;
constexpr int kLines = 4;
// Words of the topics and of the state: part of the protocol, French as the program is.
const QString kLineLevel = QStringLiteral("ligne/");   // texte du format
const QString kKeepLevel = QStringLiteral("/garder");  // texte du format
const QString kOnline = QStringLiteral("en ligne");    // texte du format
const QString kOffline = QStringLiteral("hors ligne"); // texte du format

// "0", "1" or absent; nullopt for anything else.
std::optional<bool> readSwitch(const IniFile& ini, const QString& key, bool absent) {
    const std::optional<QString> text = ini.value(kSection, key);
    if (!text) {
        return absent;
    }
    if (*text == QLatin1String("0") || *text == QLatin1String("1")) {
        return *text == QLatin1String("1");
    }
    return std::nullopt;
}

// host, host:port, [v6 address]:port; port 0 when none is written, nullopt when it is no port.
std::optional<std::pair<QString, int>> splitServer(const QString& server) {
    QString host = server;
    QString port;
    if (server.startsWith(u'[')) {
        const qsizetype close = server.indexOf(u']');
        if (close < 0) {
            return std::nullopt;
        }
        host = server.mid(1, close - 1);
        const QString after = server.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(u':')) {
            return std::nullopt;
        }
        port = after.mid(1);
        if (after.isEmpty()) {
            return std::pair{host, 0};
        }
    } else if (server.count(u':') == 1) {
        host = server.section(u':', 0, 0);
        port = server.section(u':', 1);
    } else {
        return std::pair{host, 0};
    }
    bool number = false;
    const int value = port.toInt(&number);
    if (!number || value < 1 || value > 65535 || host.isEmpty()) {
        return std::nullopt;
    }
    return std::pair{host, value};
}

QJsonObject availability(const QString& stateTopic) {
    return {{QStringLiteral("topic"), stateTopic},
            {QStringLiteral("value_template"), QStringLiteral("{{ value_json.etat }}")},
            {QStringLiteral("payload_available"), kOnline},
            {QStringLiteral("payload_not_available"), kOffline}};
}

} // namespace

std::optional<MqttSettings> readMqttSettings(const IniFile& ini, Log& log) {
    const std::optional<QString> server = ini.value(kSection, QStringLiteral("serveur"));
    if (!server) {
        return std::nullopt;
    }
    const auto refuse = [&log](const QString& why) -> std::optional<MqttSettings> {
        log.add(why);
        log.selectLast();
        return std::nullopt;
    };
    if (server->isEmpty()) {
        return refuse(MqttBridge::tr("[mqtt] serveur est vide : pas de MQTT"));
    }
    const std::optional<std::pair<QString, int>> hostPort = splitServer(*server);
    if (!hostPort) {
        return refuse(
            MqttBridge::tr("[mqtt] serveur = %1 : un nom ou une adresse, puis :port de 1 à 65535 ; "
                           "pas de MQTT")
                .arg(*server));
    }
    const std::optional<bool> tls = readSwitch(ini, QStringLiteral("tls"), false);
    if (!tls) {
        return refuse(MqttBridge::tr("[mqtt] tls = %1 : 0 ou 1 attendu ; pas de MQTT")
                          .arg(ini.value(kSection, QStringLiteral("tls")).value_or(QString())));
    }
    MqttSettings settings;
    MqttConnection::Options& options = settings.connection;
    options.host = hostPort->first;
    options.tls = *tls;
    options.port = hostPort->second != 0 ? quint16(hostPort->second) : *tls ? kTlsPort : kPlainPort;
    options.user = ini.value(kSection, QStringLiteral("utilisateur")).value_or(QString());
    const std::optional<QString> password = ini.value(kSection, QStringLiteral("mot_de_passe"));
    if (password && options.user.isEmpty()) {
        log.add(MqttBridge::tr("[mqtt] mot_de_passe sans utilisateur : il n'est pas utilisé"));
    } else {
        options.password = password.value_or(QString());
    }
    const std::optional<bool> homeAssistant =
        readSwitch(ini, QStringLiteral("homeassistant"), false);
    if (!homeAssistant) {
        log.add(
            MqttBridge::tr("[mqtt] homeassistant = %1 : 0 ou 1 attendu ; rien n'est annoncé à Home "
                           "Assistant")
                .arg(ini.value(kSection, QStringLiteral("homeassistant")).value_or(QString())));
    }
    settings.homeAssistant = homeAssistant.value_or(false);
    const QString host = mqttmap::machineLevel(QSysInfo::machineHostName());
    const QString fallback = host.isEmpty() ? QStringLiteral("relayeur") : host;
    const std::optional<QString> machine = ini.value(kSection, QStringLiteral("machine"));
    settings.machine = machine ? mqttmap::machineLevel(*machine) : fallback;
    if (settings.machine.isEmpty()) {
        log.add(MqttBridge::tr("[mqtt] machine est vide : « %1 » est pris").arg(fallback));
        settings.machine = fallback;
    }
    options.willTopic = QStringLiteral("relayeur/%1/etat").arg(settings.machine);
    options.willPayload = MqttBridge::offlinePayload();
    options.willRetain = true;
    log.selectLast();
    return settings;
}

MqttBridge::MqttBridge(MqttSettings settings, std::unique_ptr<MqttConnection> connection,
                       Hooks hooks, Log& log, QObject* parent)
    : QObject(parent), settings(std::move(settings)), connection(std::move(connection)),
      hooks(std::move(hooks)), log(log),
      messageLog(log, [] { return QDeadlineTimer::current().deadline(); }) {
    MqttConnection& link = *this->connection;
    connect(&link, &MqttConnection::connectedChanged, this, &MqttBridge::connectedChanged);
    connect(&link, &MqttConnection::messageReceived, this, &MqttBridge::received);
    connect(&link, &MqttConnection::droppedOversized, this, &MqttBridge::droppedOversized);
    link.subscribe(base() + kLineLevel + u'+');
    if (this->settings.homeAssistant) {
        link.subscribe(base() + kLineLevel + u'+' + kKeepLevel);
        link.subscribe(base() + QStringLiteral("envoi/set"));
        link.subscribe(base() + QStringLiteral("retroeclairage/set"));
        // Home Assistant, back from a restart, asks for the announcements again.
        link.subscribe(kHomeAssistantStatus);
    } else {
        // What a run with homeassistant=1 announced is taken back.
        link.subscribe(kDiscoveryPrefix +
                       QStringLiteral("+/relayeur_%1/+/config").arg(this->settings.machine));
    }
}

QString MqttBridge::base() const {
    return QStringLiteral("relayeur/%1/").arg(settings.machine);
}

QString MqttBridge::server() const {
    const MqttConnection::Options& options = settings.connection;
    return options.host.contains(u':')
               ? QStringLiteral("[%1]:%2").arg(options.host).arg(options.port)
               : QStringLiteral("%1:%2").arg(options.host).arg(options.port);
}

void MqttBridge::say(const QString& line) {
    log.add(line);
    log.selectLast();
}

std::optional<QByteArray> MqttBridge::value(QByteArrayView topic, QByteArrayView field) {
    if (!mqttmap::usableTopic(topic)) {
        const QString name = ansi::toUnicode(topic.toByteArray());
        if (!refusedTopics.contains(name)) {
            refusedTopics.insert(name);
            say(tr("%%mqtt(%1) : un sujet avec + ou # désigne plusieurs valeurs ; la variable "
                   "reste telle quelle")
                    .arg(name));
        }
        return std::nullopt;
    }
    const QString name = ansi::toUnicode(topic.toByteArray());
    const auto found = values.constFind(name);
    if (found == values.cend()) {
        values.insert(name, QByteArray());
        connection->subscribe(name);
        return QByteArray();
    }
    QByteArray shown = mqttmap::narrow(*found, ansi::toUnicode(field.toByteArray()).toUtf8());
    // Cut as a value of [valeurs] is: a line that holds a few never outgrows what the refresh
    // can count.
    shown.truncate(kIniValueLength);
    return shown;
}

QByteArray MqttBridge::statePayload(const Status& status) {
    const auto onOff = [](bool on) {
        return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
    };
    return "{\"etat\":\"" + kOnline.toUtf8() + "\",\"page\":" + QByteArray::number(status.page) +
           ",\"envoi\":\"" + onOff(status.feeding) + "\",\"retroeclairage\":\"" +
           onOff(status.backlight) + "\"}";
}

QByteArray MqttBridge::offlinePayload() {
    return "{\"etat\":\"" + kOffline.toUtf8() + "\"}";
}

void MqttBridge::publishStatus(const Status& next) {
    status = next;
    if (ended || !connection->connected() || published == status) {
        return;
    }
    published = status;
    connection->publish(base() + QStringLiteral("etat"), statePayload(status), true);
}

void MqttBridge::end() {
    if (ended) {
        return;
    }
    ended = true;
    connection->disconnectWith(base() + QStringLiteral("etat"), offlinePayload(), true);
}

void MqttBridge::connectedChanged(bool connected, const QString& reason) {
    if (ended) {
        return;
    }
    if (connected) {
        if (link != Link::Up) {
            say(reached ? tr("Serveur MQTT %1 de retour").arg(server())
                        : tr("Serveur MQTT %1 joint").arg(server()));
        }
        link = Link::Up;
        reached = true;
        // The broker put the last will on the state when the connection went.
        published = status;
        connection->publish(base() + QStringLiteral("etat"), statePayload(status), true);
        if (settings.homeAssistant) {
            announce();
        }
        return;
    }
    if (link == Link::Up) {
        say(tr("Serveur MQTT %1 perdu : %2 ; nouvel essai dans quelques secondes")
                .arg(server(), reason));
    } else if (link == Link::Starting) {
        say(tr("Serveur MQTT %1 injoignable : %2 ; nouvel essai dans quelques secondes")
                .arg(server(), reason));
    }
    link = Link::Down;
}

void MqttBridge::received(const QString& topic, const QByteArray& payload, bool retained) {
    if (ended) {
        return;
    }
    if (const auto found = values.find(topic); found != values.end()) {
        *found = payload;
        return;
    }
    if (topic.startsWith(base())) {
        const QStringView rest = QStringView(topic).sliced(base().size());
        if (lineMessage(rest, payload, retained) ||
            (settings.homeAssistant && !retained && homeAssistantCommand(rest, payload))) {
            return;
        }
    }
    if (settings.homeAssistant && topic == kHomeAssistantStatus &&
        payload == QByteArrayLiteral("online")) {
        announce();
        return;
    }
    oldAnnouncement(topic, payload, retained);
}

bool MqttBridge::lineMessage(QStringView rest, const QByteArray& payload, bool retained) {
    const QStringView prefix = kLineLevel;
    if (!rest.startsWith(prefix) || rest.sliced(prefix.size()).contains(u'/')) {
        return false;
    }
    const QString topic = base() + rest.toString();
    if (retained) {
        // Kept by the broker from some time ago: a message is for the moment it is sent.
        messageLog.tell(tr("Message MQTT retenu sur %1 laissé de côté : un message vaut pour le "
                           "moment où il est envoyé")
                            .arg(topic),
                        topic);
        return true;
    }
    QString refusal;
    const std::optional<mqttmap::LineMessageBytes> message =
        mqttmap::lineMessage(rest.sliced(prefix.size()).toUtf8(), payload, &refusal);
    if (!message) {
        messageLog.tell(tr("Message MQTT sur %1 refusé : %2").arg(topic, refusal), topic);
        return true;
    }
    if (hooks.lineMessage) {
        hooks.lineMessage(message->dwData, message->data, SocketPeer{0, QStringLiteral("MQTT")});
    }
    return true;
}

bool MqttBridge::homeAssistantCommand(QStringView rest, const QByteArray& payload) {
    const QStringView prefix = kLineLevel;
    if (rest.startsWith(prefix) && rest.endsWith(kKeepLevel)) {
        const QStringView digit =
            rest.sliced(prefix.size(), rest.size() - prefix.size() - kKeepLevel.size());
        const int line = digit.size() == 1 ? digit[0].unicode() - u'0' : -1;
        if (line >= 0 && line < kLines && hooks.keepLine) {
            QByteArray text = mqttmap::narrow(payload, {});
            text.truncate(linemessage::kTakenBytes - 2);
            hooks.keepLine(line, text);
        }
        return true;
    }
    const bool feed = rest == u"envoi/set";
    if (!feed && rest != u"retroeclairage/set") {
        return false;
    }
    if (payload != "ON" && payload != "OFF") {
        const QString topic = base() + rest.toString();
        messageLog.tell(tr("Home Assistant : « %1 » sur %2 ne veut rien dire (ON ou OFF attendu)")
                            .arg(linemessage::readable(QString::fromUtf8(payload.left(40))), topic),
                        topic);
        return true;
    }
    const auto& set = feed ? hooks.setFeed : hooks.setBacklight;
    if (set) {
        set(payload == "ON");
    }
    return true;
}

bool MqttBridge::oldAnnouncement(const QString& topic, const QByteArray& payload, bool retained) {
    const QString ours = QStringLiteral("/relayeur_%1/").arg(settings.machine);
    if (settings.homeAssistant || !retained || payload.isEmpty() ||
        !topic.startsWith(kDiscoveryPrefix) || !topic.endsWith(QLatin1String("/config")) ||
        !topic.contains(ours)) {
        return false;
    }
    connection->publish(topic, QByteArray(), true);
    if (!removalTold) {
        removalTold = true;
        say(tr("Home Assistant : les entités de Relayeur annoncées auparavant sont retirées "
               "(homeassistant=1 n'est plus dans [mqtt])"));
    }
    return true;
}

void MqttBridge::droppedOversized(const QString& topic, qsizetype bytes) {
    if (lastOversizedTold.isValid() && !lastOversizedTold.hasExpired(kOversizedTellMs)) {
        ++oversizedUntold;
        return;
    }
    lastOversizedTold.start();
    QString line = tr("Message MQTT de %1 octets sur %2 laissé de côté : plus de %3 octets")
                       .arg(bytes)
                       .arg(topic)
                       .arg(settings.connection.maxPayload);
    if (oversizedUntold > 0) {
        line += tr(" (et %1 autres depuis le précédent)").arg(std::exchange(oversizedUntold, 0));
    }
    say(line);
}

// Home Assistant's discovery: one device, a text per panel line, the page, the feed and the
// backlight, all available while the state says "en ligne".
void MqttBridge::announce() {
    const QString id = QStringLiteral("relayeur_%1").arg(settings.machine);
    const QString state = base() + QStringLiteral("etat");
    const QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{id}},
        {QStringLiteral("name"), QStringLiteral("Relayeur (%1)").arg(settings.machine)},
        {QStringLiteral("manufacturer"), QStringLiteral("Relayeur")},
        {QStringLiteral("model"), tr("Afficheur LCD")},
        {QStringLiteral("sw_version"), QStringLiteral(RELAYEUR_VERSION)}};
    const auto publish = [&](const QString& component, const QString& object, QJsonObject config) {
        config.insert(QStringLiteral("unique_id"), id + u'_' + object);
        config.insert(QStringLiteral("device"), device);
        config.insert(QStringLiteral("availability"), QJsonArray{availability(state)});
        connection->publish(kDiscoveryPrefix +
                                QStringLiteral("%1/%2/%3/config").arg(component, id, object),
                            QJsonDocument(config).toJson(QJsonDocument::Compact), true);
    };
    for (int line = 0; line < kLines; ++line) {
        publish(QStringLiteral("text"), QStringLiteral("ligne_%1").arg(line),
                {{QStringLiteral("name"), tr("Ligne %1").arg(line)},
                 {QStringLiteral("command_topic"),
                  base() + kLineLevel + QString::number(line) + kKeepLevel},
                 {QStringLiteral("mode"), QStringLiteral("text")},
                 {QStringLiteral("min"), 0},
                 {QStringLiteral("max"), linemessage::kTakenBytes - 2}});
    }
    publish(QStringLiteral("sensor"), QStringLiteral("page"),
            {{QStringLiteral("name"), tr("Page")},
             {QStringLiteral("state_topic"), state},
             {QStringLiteral("value_template"), QStringLiteral("{{ value_json.page }}")}});
    const auto toggle = [&](const QString& object, const QString& name) {
        publish(
            QStringLiteral("switch"), object,
            {{QStringLiteral("name"), name},
             {QStringLiteral("command_topic"), base() + object + QStringLiteral("/set")},
             {QStringLiteral("state_topic"), state},
             {QStringLiteral("value_template"), QStringLiteral("{{ value_json.%1 }}").arg(object)},
             {QStringLiteral("payload_on"), QStringLiteral("ON")},
             {QStringLiteral("payload_off"), QStringLiteral("OFF")}});
    };
    toggle(QStringLiteral("envoi"), tr("Envoi à l'afficheur"));
    toggle(QStringLiteral("retroeclairage"), tr("Rétroéclairage"));
}
