// The program on a real broker: Debian's mosquitto on a free loopback port, read and written with
// its own clients. Values and retained values for %%mqtt(), line messages, the state topic and
// its last will, Home Assistant's discovery and its removal, a broker that goes and comes back,
// a broker that asks for a password, a client of the broker that publishes anything, and the
// shell that none of it reaches.
#include "engine/MqttBridge.h"
#include "linemessage/LineMessage.h"
#include "support/FakeLog.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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
    // Any bytes, NUL included, through a file.
    void publishBytes(const QString& topic, const QByteArray& payload,
                      const QStringList& more = {}) const {
        client("mosquitto_pub",
               QStringList{"-t", topic, "-f", dir.write("payload", payload)} + more);
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

// relayeur in the terminal on a 20x4 panel, on the broker as machine "tue" with Home Assistant's
// commands, with this page and what `more` adds to param.ini.
struct Program {
    TempDir dir;
    QProcess relayeur;
    QStringList seen; // its output so far, line by line

    Program(const Broker& broker, const QByteArray& page, const QByteArray& more = {}) {
        dir.write("param.ini", "[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                               "backlight=0\nrefresh=125\nscrolling=0\nrep_winamp=\nrep_seti=\n"
                               "rep_HL=\n[ports]\n[mqtt]\nserveur=127.0.0.1:" +
                                   QByteArray::number(broker.port) +
                                   "\nmachine=tue\nhomeassistant=1\n" + more);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", dir.path());
        relayeur.setProcessEnvironment(environment);
        relayeur.start(
            RELAYEUR_BINARY,
            {"--terminal", "--print-log", "--quiet", "--config-dir", dir.path(), "--profile",
             dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\n" + page + "time=0\nnext=1\n"),
             "--start"});
    }
    ~Program() {
        // Ended as a user ends it, so that it cleans up after itself.
        relayeur.terminate();
        if (!relayeur.waitForFinished(10000)) {
            relayeur.kill();
            relayeur.waitForFinished();
        }
    }
    // Reads the output until `done` holds for what was seen; false after 20 s or at the end.
    bool until(const std::function<bool()>& done) {
        const QDeadlineTimer limit(20000);
        relayeur.setReadChannel(QProcess::StandardOutput);
        while (!done()) {
            while (!relayeur.canReadLine()) {
                if (limit.hasExpired() || relayeur.state() == QProcess::NotRunning) {
                    return false;
                }
                relayeur.waitForReadyRead(200);
            }
            seen.append(QString::fromUtf8(relayeur.readLine()).chopped(1));
        }
        return true;
    }
    // Waits for a new line that holds `part`.
    bool shows(const QString& part) {
        const qsizetype from = seen.size();
        return until([&] { return seen.size() > from && seen.back().contains(part); });
    }
    int count(const QString& part) const {
        return int(std::count_if(seen.begin(), seen.end(),
                                 [&](const QString& line) { return line.contains(part); }));
    }
    std::string output() const { return seen.join('\n').toStdString(); }
};

// A line of the panel as the terminal draws it.
QString panelLine(const QString& text) {
    return "│" + text.leftJustified(20) + "│";
}

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
    Program p(broker, "ligne0=Ici\nligne1=\nligne2=\nligne3=\n");
    ASSERT_TRUE(p.shows("Serveur MQTT")) << p.output();
    EXPECT_TRUE(p.seen.back().endsWith("joint")) << p.seen.back().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return broker.retained("relayeur/tue/etat").join("").contains("en ligne"); }, 10000));
    broker.publish("relayeur/tue/ligne/1", R"({"texte":"Salut","hold":10})");
    EXPECT_TRUE(p.shows("│Salut "));
    broker.publish("relayeur/tue/ligne/0/garder", "Bonjour");
    EXPECT_TRUE(p.shows("│Bonjour "));
    broker.publish("relayeur/tue/ligne/0/garder", "");
    EXPECT_TRUE(p.shows("│Ici ")) << "the page's line is back";
    broker.publish("relayeur/tue/retroeclairage/set", "OFF");
    EXPECT_TRUE(p.shows("se met en veille : rétroéclairage éteint depuis Home Assistant"));
    broker.publish("relayeur/tue/retroeclairage/set", "ON");
    EXPECT_TRUE(p.shows("L'afficheur se réveille"));
    broker.publish("relayeur/tue/envoi/set", "OFF");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return broker.retained("relayeur/tue/etat").join("").contains(R"("envoi":"OFF")"); },
        10000));
    p.relayeur.kill();
    p.relayeur.waitForFinished();
    const QStringList state = broker.client(
        "mosquitto_sub", {"-t", "relayeur/tue/etat", "-C", "1", "-W", "5", "-F", "%r %p"});
    EXPECT_EQ(state, QStringList{R"(1 {"etat":"hors ligne"})"}) << "retained";
}

// Whatever a client of the broker publishes on the program's topics: the program goes on and
// takes the next good message, a value or a text shows as one line without control characters,
// and the refusals are told with their reason, a flood of them in a few lines.
TEST(Mqtt, AHostileClientOfTheBrokerNeitherStopsTheProgramNorFloodsItsLog) {
    Broker broker;
    broker.publish("relayeur/tue/ligne/1", "Ancien", true);
    // Retained, the first value is there whenever the program subscribes.
    broker.publishBytes("maison/t",
                        QByteArrayLiteral("A\x01"
                                          "B\x1b"
                                          "C\x07"
                                          "D\0E\x7f"
                                          "F\ng"),
                        {"-r"});
    Program p(broker, "ligne0=%%mqtt(maison/t)\nligne1=%%mqtt(maison/j|a)\nligne2=\nligne3=\n");
    ASSERT_TRUE(p.shows("Serveur MQTT")) << p.output();
    EXPECT_TRUE(p.shows("Message MQTT retenu sur relayeur/tue/ligne/1 laissé de côté"));
    EXPECT_TRUE(p.shows(panelLine("A B C D E F"))) << p.output();

    // Nested deeper than any JSON reader goes, within the size the broker delivers.
    const QByteArray deep(60000, '[');
    broker.publishBytes("maison/t", deep);
    EXPECT_TRUE(p.shows(panelLine(QString(20, '['))));
    broker.publishBytes("maison/t", "\xE9t\xE9 \xFF\xFE");
    broker.publishBytes("maison/t", QByteArray(65536, 'y'));
    EXPECT_TRUE(p.shows(panelLine(QString(20, 'y')))) << "at the limit: taken";
    broker.publishBytes("maison/t", QByteArray(65537, 'z'), {"--repeat", "3"});
    EXPECT_TRUE(p.shows("Message MQTT de 65537 octets sur maison/t laissé de côté"));
    for (const QByteArray& broken :
         {QByteArray("{\"a\":").repeated(12000), deep, QByteArray(R"({"a":"x)"),
          QByteArray("pas du JSON"), QByteArray("{\"a\":\"\xff\"}")}) {
        broker.publishBytes("maison/j", broken);
    }
    broker.publishBytes("maison/j", R"({"a":"ok\u0001!"})");
    EXPECT_TRUE(p.shows(panelLine("ok !")));

    broker.publish("relayeur/tue/ligne/7", "x");
    EXPECT_TRUE(p.shows("Message MQTT sur relayeur/tue/ligne/7 refusé : la ligne doit être"));
    broker.publishBytes("relayeur/tue/ligne/1", "");
    EXPECT_TRUE(p.shows("Message MQTT sur relayeur/tue/ligne/1 refusé : message vide"));
    broker.publishBytes("relayeur/tue/ligne/1", deep);
    broker.publishBytes("relayeur/tue/ligne/1", R"({"texte":"abc)");
    broker.publishBytes("relayeur/tue/ligne/2", R"({"texte":"X\u0001Y\u001bZ\u0000!","hold":60})");
    EXPECT_TRUE(p.shows(panelLine("X Y Z"))) << "a NUL ends the text";
    broker.publishBytes("relayeur/tue/ligne/0/garder", QByteArrayLiteral("H\x02I\0J\nK"));
    EXPECT_TRUE(p.shows(panelLine("H I J")));
    broker.publishBytes("relayeur/tue/envoi/set", "\x1b[2J");
    EXPECT_TRUE(p.shows("« \\x1b[2J » sur relayeur/tue/envoi/set ne veut rien dire"));

    // A flood of refused messages: each is told or counted, in a few lines.
    broker.publishBytes("relayeur/tue/ligne/9", "x", {"--repeat", "200"});
    const QRegularExpression summary(R"(… et (\d+) autres? messages? \((dernier : )?(.*)\)$)");
    int told = 0;
    int counted = 0;
    int lines = 0;
    EXPECT_TRUE(p.until([&] {
        told = p.count("Message MQTT sur relayeur/tue/ligne/9 refusé");
        counted = 0;
        lines = told;
        for (const QString& line : p.seen) {
            const QRegularExpressionMatch match = summary.match(line);
            if (match.hasMatch() && match.captured(3) == "relayeur/tue/ligne/9") {
                counted += match.captured(1).toInt();
                ++lines;
            }
        }
        return told + counted == 200;
    })) << told
        << " told, " << counted << " counted";
    EXPECT_LE(lines, 20);

    broker.publish("relayeur/tue/ligne/3", R"({"texte":"Fin","hold":60})");
    EXPECT_TRUE(p.shows(panelLine("Fin")));
    EXPECT_EQ(p.relayeur.state(), QProcess::Running);
    EXPECT_EQ(p.count("Message MQTT de 65537 octets"), 1) << "told once a minute at most";
    for (const QString& line : p.seen) {
        EXPECT_FALSE(std::any_of(line.begin(), line.end(), [](QChar c) { return c < u' '; }))
            << line.toStdString();
    }
}

// The commands of [valeurs] run as written: no payload, line message or Home Assistant text
// ever reaches the shell, whatever the page and the command name.
TEST(Mqtt, NoPayloadReachesTheShell) {
    Broker broker;
    TempDir files;
    const QString marker = files.file("MARQUE");
    const QByteArray runs = files.file("runs").toUtf8();
    Program p(broker, "ligne0=%%val(cmd) %%mqtt(maison/t)\nligne1=\nligne2=\nligne3=\n",
              "[valeurs]\ncmd=commande:printf '%s\\n' '%%mqtt(maison/t) %%val(cmd)' >> " + runs +
                  "; echo fait|1\n");
    ASSERT_TRUE(p.shows("Serveur MQTT")) << p.output();
    broker.publish("maison/t", "rien", true);
    ASSERT_TRUE(p.shows(panelLine("fait rien"))) << p.output();
    const QStringList attacks = {"$(touch " + marker + ")", ";touch " + marker,
                                 "`touch " + marker + "`", "%%val(cmd)", "' ; touch " + marker};
    for (const QString& attack : attacks) {
        broker.publish("maison/t", attack.toUtf8());
        EXPECT_TRUE(p.shows(panelLine("fait " + attack.left(15)))) << p.output();
        broker.publish("relayeur/tue/ligne/1", attack.toUtf8());
        broker.publish("relayeur/tue/ligne/2",
                       R"({"texte":")" + attack.toUtf8() + R"(","hold":60})");
        broker.publish("relayeur/tue/ligne/3/garder", attack.toUtf8());
        // A line message is a line of the page: its variables are those of the page.
        EXPECT_TRUE(p.shows(panelLine(attack == "%%val(cmd)" ? "fait" : attack.left(20))));
    }
    const auto ran = [&] { return files.read("runs").count('\n'); };
    const qsizetype before = ran();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran() >= before + 2; }, 10000))
        << "the command goes on running after the texts came";
    EXPECT_FALSE(QFile::exists(marker));
    const QStringList written =
        QString::fromUtf8(files.read("runs")).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(written, QStringList(written.size(), "%%mqtt(maison/t) %%val(cmd)"));
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

        // Home Assistant starting again, its retained configs lost, finds them announced anew.
        broker.publish("homeassistant/sensor/relayeur_essai/page/config", "", true);
        ASSERT_EQ(broker.retained("homeassistant/#").size(), 6);
        broker.publish("homeassistant/status", "online");
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return broker.retained("homeassistant/#").size() == 7; }, 10000));
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

    const auto v6 = readMqttSettings(IniFile::parse("[mqtt]\nserveur=[::1]\nmot_de_passe=x\n"
                                                    "homeassistant=oui\nmachine=\n"),
                                     log);
    ASSERT_TRUE(v6);
    EXPECT_EQ(std::tuple(v6->connection.host, v6->connection.port, v6->connection.password),
              std::tuple(QString("::1"), quint16(1883), QString()));
    EXPECT_EQ(std::tuple(v6->homeAssistant, v6->machine), std::tuple(false, plain->machine));
    EXPECT_EQ(log.lines,
              QStringList({"[mqtt] mot_de_passe sans utilisateur : il n'est pas utilisé",
                           "[mqtt] homeassistant = oui : 0 ou 1 attendu ; rien n'est annoncé à "
                           "Home Assistant",
                           "[mqtt] machine est vide : « " + plain->machine + " » est pris"}));
    EXPECT_EQ(
        readMqttSettings(IniFile::parse("[mqtt]\nserveur=[::1]:1884\n"), log)->connection.port,
        1884);

    for (const char* wrong : {"serveur=\n", "serveur=h:0\n", "serveur=h:65536\n", "serveur=h:x\n",
                              "serveur=h\ntls=2\n", "serveur=[::1\n", "serveur=[::1]1884\n"}) {
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
