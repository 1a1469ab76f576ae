#include "engine/Engine.h"
#include "engine/MqttBridge.h"
#include "engine/StartUp.h"
#include "linemessage/LineMessage.h"
#include "platform/IniFile.h"
#include "profile/LoadPage.h"

#include <limits>

void Engine::startMqtt(const IniFile& file) {
    std::optional<MqttSettings> settings = readMqttSettings(file, *this);
    if (!settings) {
        return;
    }
    QString problem;
    std::unique_ptr<MqttConnection> connection = MqttConnection::open(
        helperCandidates(env.executableDir, QStringLiteral("relayeur-mqtt.so")),
        settings->connection, &problem);
    if (!connection) {
        add(tr("MQTT indisponible : %1").arg(problem));
        selectLast();
        return;
    }
    MqttBridge::Hooks hooks;
    hooks.lineMessage = [this](quint32 dwData, const QByteArray& data, const SocketPeer& sender) {
        return RelayWindowProc(dwData, data, sender);
    };
    hooks.keepLine = [this](int line, const QByteArray& text) {
        std::optional<qint64>& until = app.pages.held.until[line];
        if (text.isEmpty()) {
            if (until) {
                // Given back at the next refresh, which puts the page's own line there again.
                until = std::numeric_limits<qint64>::min();
                add(tr("Home Assistant : la ligne %1 revient à la page").arg(line));
                selectLast();
            }
            return;
        }
        holdOnPage(app.pages, line, text, 0, std::numeric_limits<qint64>::max());
        add(tr("Home Assistant : la ligne %1 garde « %2 » jusqu'à ce qu'on l'efface")
                .arg(line)
                .arg(linemessage::readable(ansi::toUnicode(text))));
        selectLast();
        wakePanel(std::max<qint64>(app.pages.PageTiming[app.pages.ShownPage][kPageTime], 10) *
                  1000LL);
    };
    hooks.setFeed = [this](bool on) {
        if (on == feed) {
            return;
        }
        // As the start button: a feed the slider started leaves the button reading "start",
        // and a first press then only brings it in line.
        if (stopsOnPress == on) {
            Command1();
        }
        Command1();
    };
    hooks.setBacklight = [this](bool on) { askBacklight(on); };
    Log& log = *this;
    mqtt = std::make_unique<MqttBridge>(std::move(*settings), std::move(connection),
                                        std::move(hooks), log);
}

void Engine::tellMqtt() {
    if (mqtt) {
        mqtt->publishStatus({shownPage, feed, backlightOn()});
    }
}

void Engine::endMqtt() {
    if (mqtt) {
        mqtt->end();
    }
}
