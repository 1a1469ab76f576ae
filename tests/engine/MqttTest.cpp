// The program on a real broker: Debian's mosquitto on a free loopback port, read and written with
// its own clients. Values and retained values for %%mqtt(), line messages, the state topic and
// its last will, Home Assistant's discovery and its removal, a broker that goes and comes back,
// and a broker that asks for a password.
#include "engine/MqttBridge.h"
#include "linemessage/LineMessage.h"
#include "support/FakeLog.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

const QStringList kModule = {QStringLiteral(RELAYEUR_MQTT_MODULE)};

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

struct Broker {
    TempDir dir;
    quint16 port = freePort();
    QProcess process;

    explicit Broker(const QByteArray& extra = "allow_anonymous true\n") {
        // Run as root, mosquitto would otherwise become the user mosquitto, who cannot read the
        // test's folders.
        const passwd* user = ::getpwuid(::geteuid());
        dir.write("mosquitto.conf",
                  "listener " + QByteArray::number(port) + " 127.0.0.1\nlog_dest stderr\nuser " +
                      QByteArray(user != nullptr ? user->pw_name : "") + "\n" + extra);
        start();
    }
    ~Broker() { stop(); }
    bool start() {
        process.start("mosquitto", {"-c", dir.file("mosquitto.conf")});
        QStringList seen;
        return waitForLine(process, QProcess::StandardError, " running", seen);
    }
    void stop() {
        process.terminate();
        process.waitForFinished();
    }
    QStringList client(const char* program, const QStringList& arguments) const {
        const Finished done = runToEnd(
            program, QStringList{"-h", "127.0.0.1", "-p", QString::number(port)} + arguments);
        return done.out.split('\n', Qt::SkipEmptyParts);
    }
    void publish(const QString& topic, const QByteArray& payload, bool retain = false) const {
        client("mosquitto_pub", QStringList{"-t", topic, "-m", QString::fromUtf8(payload)} +
                                    (retain ? QStringList{"-r"} : QStringList{}));
    }
    // What the broker keeps for the topic now, as `topic payload` lines.
    QStringList retained(const QString& topic) const {
        return client("mosquitto_sub", {"-t", topic, "-v", "--retained-only", "-W", "1"});
    }
    MqttSettings settings(bool homeAssistant = false) const {
        MqttSettings s;
        s.connection.host = "127.0.0.1";
        s.connection.port = port;
        s.machine = "essai";
        s.homeAssistant = homeAssistant;
        s.connection.willTopic = "relayeur/essai/etat";
        s.connection.willPayload = MqttBridge::offlinePayload();
        return s;
    }
};

// What the bridge asked of the program.
struct Asked {
    QList<QPair<quint32, QByteArray>> messages;
    QStringList senders;
    QList<QPair<int, QByteArray>> kept;
    QList<bool> feeds;
    QList<bool> backlights;
};

struct Bridge {
    FakeLog log;
    Asked asked;
    std::unique_ptr<MqttBridge> bridge;

    explicit Bridge(MqttSettings settings) {
        QString problem;
        auto connection = MqttConnection::open(kModule, settings.connection, &problem);
        EXPECT_TRUE(connection) << problem.toStdString();
        MqttBridge::Hooks hooks;
        hooks.lineMessage = [this](quint32 dwData, const QByteArray& data, const SocketPeer& from) {
            asked.messages.append({dwData, data});
            asked.senders.append(from.name);
            return linemessage::kTaken;
        };
        hooks.keepLine = [this](int line, const QByteArray& text) {
            asked.kept.append({line, text});
        };
        hooks.setFeed = [this](bool on) { asked.feeds.append(on); };
        hooks.setBacklight = [this](bool on) { asked.backlights.append(on); };
        bridge = std::make_unique<MqttBridge>(std::move(settings), std::move(connection),
                                              std::move(hooks), log);
    }
    int count(const QString& part) const {
        return int(std::count_if(log.lines.begin(), log.lines.end(),
                                 [&](const QString& line) { return line.contains(part); }));
    }
    bool waitForLog(const QString& part, int times = 1) const {
        return QTest::qWaitFor([&] { return count(part) >= times; }, 10000);
    }
    bool waitForValue(const char* topic, const char* field, const QByteArray& wanted) const {
        return QTest::qWaitFor([&] { return bridge->value(topic, field) == wanted; }, 10000);
    }
};

} // namespace

// Retained and live values reach %%mqtt(), narrowed to a JSON field when one is named; a topic
// with a wildcard is refused once; an oversized payload is left aside with a word.
TEST(Mqtt, ValuesAndRetainedValuesReachTheVariables) {
    Broker broker;
    broker.publish("maison/temperature", "21.5\nsecond line", true);
    Bridge b(broker.settings());
    EXPECT_EQ(b.bridge->value("maison/temperature", ""), QByteArray()) << "nothing before";
    EXPECT_TRUE(b.waitForValue("maison/temperature", "", "21.5"));
    ASSERT_TRUE(b.waitForLog("Serveur MQTT 127.0.0.1:" + QString::number(broker.port) + " joint"));

    EXPECT_EQ(b.bridge->value("maison/salon", "t.c"), QByteArray());
    // The subscription is under way: a live message reaches it once the broker has it.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            broker.publish("maison/salon", R"({"t":{"c":19.5},"ok":true,"nom":"Été"})");
            return b.bridge->value("maison/salon", "t.c") == "19.5";
        },
        10000));
    EXPECT_EQ(b.bridge->value("maison/salon", "ok"), "true");
    EXPECT_EQ(b.bridge->value("maison/salon", "nom"), "\xC9t\xE9") << "shown in the panel's bytes";
    EXPECT_EQ(b.bridge->value("maison/salon", "absent"), QByteArray());

    EXPECT_EQ(b.bridge->value("maison/+", ""), std::nullopt);
    EXPECT_EQ(b.bridge->value("maison/+", ""), std::nullopt);
    EXPECT_EQ(b.count("%%mqtt(maison/+)"), 1);

    broker.client("mosquitto_pub", {"-t", "maison/temperature", "-f",
                                    broker.dir.write("big", QByteArray(70000, 'x'))});
    EXPECT_TRUE(b.waitForLog("Message MQTT de 70000 octets sur maison/temperature"));
    EXPECT_EQ(b.bridge->value("maison/temperature", ""), "21.5");
}

// Plain and JSON payloads on relayeur/<machine>/ligne/<n> go to the line-message handler as the
// messages of other programs; nonsense is told.
TEST(Mqtt, LineMessagesGoToTheLineMessageHandler) {
    Broker broker;
    Bridge b(broker.settings());
    ASSERT_TRUE(b.waitForLog("joint"));
    broker.publish("relayeur/essai/ligne/1", "Salut");
    broker.publish("relayeur/essai/ligne/2", R"({"texte":"Salut","mode":3,"hold":10})");
    broker.publish("relayeur/essai/ligne/7", "Trop bas");
    broker.publish("relayeur/essai/ligne/0", R"({"texte":"x","hold":0})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.asked.messages.size() == 2; }, 10000));
    EXPECT_EQ(b.asked.messages[0], qMakePair(linemessage::kLineMessageData, QByteArray("Salut01")));
    EXPECT_EQ(b.asked.messages[1].first, linemessage::kHeldMessageData);
    const auto held = linemessage::parse(b.asked.messages[1].first, b.asked.messages[1].second);
    ASSERT_TRUE(held);
    EXPECT_EQ(std::tuple(held->text, held->mode, held->line, held->hold),
              std::tuple(QByteArray("Salut"), qint16(3), 2, 10));
    EXPECT_EQ(b.asked.senders, QStringList({"MQTT", "MQTT"}));
    EXPECT_TRUE(b.waitForLog("Message MQTT sur relayeur/essai/ligne/7 refusé"));
    EXPECT_TRUE(b.waitForLog("Message MQTT sur relayeur/essai/ligne/0 refusé : « hold »"));
}

// The state is retained and follows the status; a clean end leaves "hors ligne".
TEST(Mqtt, TheStateIsRetainedAndFollowsTheStatus) {
    Broker broker;
    Bridge b(broker.settings());
    ASSERT_TRUE(b.waitForLog("joint"));
    b.bridge->publishStatus({3, true, false});
    const QString expected =
        R"(relayeur/essai/etat {"etat":"en ligne","page":3,"envoi":"ON","retroeclairage":"OFF"})";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return broker.retained("relayeur/essai/etat") == QStringList{expected}; }, 10000));
    b.bridge->end();
    EXPECT_EQ(broker.retained("relayeur/essai/etat"),
              QStringList{R"(relayeur/essai/etat {"etat":"hors ligne"})"});
}

// relayeur in the terminal: a line message from mosquitto_pub and Home Assistant's text reach the
// panel; killed without a word, it leaves its last will on the state.
TEST(Mqtt, TheProgramShowsMessagesAndLeavesItsLastWillWhenKilled) {
    Broker broker;
    TempDir dir;
    dir.write("param.ini", "[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=2\ncontrast=0\nbacklight=0\n"
                           "refresh=125\nscrolling=0\nrep_winamp=\nrep_seti=\nrep_HL=\n[ports]\n"
                           "[mqtt]\nserveur=127.0.0.1:" +
                               QByteArray::number(broker.port) +
                               "\nmachine=tue\nhomeassistant=1\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", dir.path());
    QProcess relayeur;
    relayeur.setProcessEnvironment(environment);
    relayeur.start(RELAYEUR_BINARY,
                   {"--terminal", "--print-log", "--quiet", "--config-dir", dir.path(), "--profile",
                    dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=Ici\nligne1=\n"
                                        "ligne2=\nligne3=\ntime=0\nnext=1\n"),
                    "--start"});
    QStringList seen;
    ASSERT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "Serveur MQTT", seen))
        << seen.join('\n').toStdString();
    EXPECT_TRUE(seen.back().endsWith("joint")) << seen.back().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return broker.retained("relayeur/tue/etat").join("").contains("en ligne"); }, 10000));
    broker.publish("relayeur/tue/ligne/1", R"({"texte":"Salut","hold":10})");
    EXPECT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "│Salut ", seen));
    broker.publish("relayeur/tue/ligne/0/garder", "Bonjour");
    EXPECT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "│Bonjour ", seen));
    broker.publish("relayeur/tue/ligne/0/garder", "");
    EXPECT_TRUE(waitForLine(relayeur, QProcess::StandardOutput, "│Ici ", seen))
        << "the page's line is back";
    relayeur.kill();
    relayeur.waitForFinished();
    const QStringList state = broker.client(
        "mosquitto_sub", {"-t", "relayeur/tue/etat", "-C", "1", "-W", "5", "-F", "%r %p"});
    EXPECT_EQ(state, QStringList{R"(1 {"etat":"hors ligne"})"}) << "retained";
}

// homeassistant=1 announces the device's entities, retained, and takes their commands; a run
// without it takes the announcements back.
TEST(Mqtt, HomeAssistantDiscoveryAndItsRemoval) {
    Broker broker;
    {
        Bridge b(broker.settings(true));
        ASSERT_TRUE(b.waitForLog("joint"));
        QStringList configs;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (configs = broker.retained("homeassistant/#")).size() == 7; }, 10000))
            << configs.join('\n').toStdString();
        QStringList components;
        for (const QString& line : configs) {
            const QString topic = line.section(' ', 0, 0);
            const QJsonObject config =
                QJsonDocument::fromJson(line.section(' ', 1).toUtf8()).object();
            const QString component = topic.section('/', 1, 1);
            components.append(component);
            EXPECT_TRUE(topic.startsWith("homeassistant/" + component + "/relayeur_essai/"));
            EXPECT_EQ(config["unique_id"].toString(), "relayeur_essai_" + topic.section('/', 3, 3));
            EXPECT_EQ(config["device"]["name"].toString(), "Relayeur (essai)");
            EXPECT_EQ(config["device"]["identifiers"].toArray(), QJsonArray{"relayeur_essai"});
            const QJsonObject available = config["availability"][0].toObject();
            EXPECT_EQ(available["topic"].toString(), "relayeur/essai/etat");
            EXPECT_EQ(available["payload_available"].toString(), "en ligne");
            EXPECT_EQ(config.contains("command_topic"), component != "sensor")
                << line.toStdString();
            EXPECT_EQ(config.contains("state_topic"), component != "text") << line.toStdString();
        }
        components.sort();
        EXPECT_EQ(components,
                  QStringList({"sensor", "switch", "switch", "text", "text", "text", "text"}));

        broker.publish("relayeur/essai/ligne/2/garder", "Bonjour");
        broker.publish("relayeur/essai/ligne/2/garder", "");
        broker.publish("relayeur/essai/envoi/set", "ON");
        broker.publish("relayeur/essai/retroeclairage/set", "OFF");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !b.asked.backlights.isEmpty(); }, 10000));
        EXPECT_EQ(b.asked.kept, (QList<QPair<int, QByteArray>>{{2, "Bonjour"}, {2, ""}}));
        EXPECT_EQ(b.asked.feeds, QList<bool>{true});
        EXPECT_EQ(b.asked.backlights, QList<bool>{false});
    }
    Bridge without(broker.settings(false));
    EXPECT_TRUE(without.waitForLog("Home Assistant : les entités de Relayeur"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return broker.retained("homeassistant/#").isEmpty(); }, 10000));
    EXPECT_EQ(without.count("Home Assistant"), 1);
}

// A broker that goes is told once, and once when it is back; subscriptions are made again. One
// away at the start is told, then joined when it comes.
TEST(Mqtt, ABrokerThatGoesAndComesBack) {
    Broker broker;
    MqttSettings settings = broker.settings();
    settings.connection.reconnectMinSeconds = 1;
    Bridge b(settings);
    b.bridge->value("maison/porte", "");
    ASSERT_TRUE(b.waitForLog("joint"));
    broker.stop();
    EXPECT_TRUE(b.waitForLog("perdu : connexion perdue ; nouvel essai dans quelques secondes"));
    ASSERT_TRUE(broker.start());
    EXPECT_TRUE(b.waitForLog("de retour"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            broker.publish("maison/porte", "ouverte");
            return b.bridge->value("maison/porte", "") == "ouverte";
        },
        10000));
    EXPECT_EQ(b.count("perdu"), 1);
    EXPECT_EQ(b.count("de retour"), 1);

    broker.stop();
    Bridge late(settings);
    EXPECT_TRUE(late.waitForLog("injoignable : "));
    ASSERT_TRUE(broker.start());
    EXPECT_TRUE(late.waitForLog("joint"));
    EXPECT_EQ(late.log.lines.size(), 2) << late.log.lines.join('\n').toStdString();
}

// A broker with a password file: the right password is let in, a wrong one is told.
TEST(Mqtt, ThePasswordIsCheckedByTheBroker) {
    TempDir dir;
    const QString passwords = dir.file("passwords");
    ASSERT_EQ(runToEnd("mosquitto_passwd", {"-c", "-b", passwords, "moi", "secret"}).exitCode, 0);
    Broker broker("allow_anonymous false\npassword_file " + passwords.toUtf8() + "\n");
    ASSERT_EQ(broker.process.state(), QProcess::Running);
    MqttSettings right = broker.settings();
    right.connection.user = "moi";
    right.connection.password = "secret";
    Bridge in(right);
    EXPECT_TRUE(in.waitForLog("joint"));
    right.connection.password = "faux";
    Bridge out(right);
    EXPECT_TRUE(out.waitForLog("injoignable : connexion non autorisée"))
        << out.log.lines.join('\n').toStdString();
}

// [mqtt] as the user writes it; what cannot be used is told, a missing server says nothing.
TEST(Mqtt, SettingsAreReadAndMistakesTold) {
    FakeLog log;
    EXPECT_EQ(readMqttSettings(IniFile::parse("[param]\n"), log), std::nullopt);
    EXPECT_TRUE(log.lines.isEmpty());

    const auto full = readMqttSettings(
        IniFile::parse("[mqtt]\nserveur=broker.lan\nutilisateur=moi\nmot_de_passe=secret\ntls=1\n"
                       "homeassistant=1\nmachine=salon 2\n"),
        log);
    ASSERT_TRUE(full);
    EXPECT_EQ(std::tuple(full->connection.host, full->connection.port, full->connection.tls),
              std::tuple(QString("broker.lan"), quint16(8883), true));
    EXPECT_EQ(std::tuple(full->connection.user, full->connection.password, full->homeAssistant),
              std::tuple(QString("moi"), QString("secret"), true));
    EXPECT_EQ(full->machine, "salon_2");
    EXPECT_EQ(full->connection.willTopic, "relayeur/salon_2/etat");
    const auto plain = readMqttSettings(IniFile::parse("[mqtt]\nserveur=localhost:1884\n"), log);
    ASSERT_TRUE(plain);
    EXPECT_EQ(std::tuple(plain->connection.port, plain->connection.tls, plain->homeAssistant),
              std::tuple(quint16(1884), false, false));
    EXPECT_EQ(plain->machine, mqttmap::machineLevel(QSysInfo::machineHostName()));
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();

    for (const char* wrong : {"serveur=\n", "serveur=h:0\n", "serveur=h:65536\n", "serveur=h:x\n",
                              "serveur=h\ntls=2\n"}) {
        log.lines.clear();
        EXPECT_EQ(readMqttSettings(IniFile::parse(QByteArray("[mqtt]\n") + wrong), log),
                  std::nullopt)
            << wrong;
        EXPECT_EQ(log.lines.size(), 1) << wrong;
        EXPECT_TRUE(log.lines.value(0).contains("pas de MQTT")) << wrong;
    }

    QString problem;
    EXPECT_EQ(MqttConnection::open({"/nonexistent/relayeur-mqtt.so"}, {}, &problem), nullptr);
    EXPECT_EQ(problem, "module MQTT introuvable ou illisible (/nonexistent/relayeur-mqtt.so)");
}

// The odd inputs are the fuzz target's; these are the everyday ones.
TEST(MqttMapping, NarrowsPayloadsAndMakesLineMessages) {
    EXPECT_EQ(mqttmap::narrow("22 °C\r\nx", ""), "22 \xB0"
                                                 "C");
    EXPECT_EQ(mqttmap::narrow("\xE9t\xE9", ""), "\xE9t\xE9") << "Windows-1252 stays as it is";
    EXPECT_EQ(mqttmap::narrow(R"({"a":{"b":[1,2]},"n":null,"x":-3e2})", "a.b"), "[1,2]");
    EXPECT_EQ(mqttmap::narrow(R"({"n":null,"x":-3e2})", "x"), "-300");
    EXPECT_EQ(mqttmap::narrow(R"({"n":null})", "n"), "");
    EXPECT_EQ(mqttmap::narrow("21", "a"), "");
    EXPECT_FALSE(mqttmap::lineMessage("4", "x"));
    EXPECT_FALSE(mqttmap::lineMessage("1", R"({"texte":"x","mode":10})"));
    EXPECT_FALSE(mqttmap::lineMessage("1", R"({"mode":1})"));
    EXPECT_EQ(mqttmap::lineMessage("3", QByteArray(300, 'a'))->data.size(),
              linemessage::kTakenBytes);
    EXPECT_EQ(mqttmap::machineLevel("pc.maison-2"), "pc_maison-2");
}
