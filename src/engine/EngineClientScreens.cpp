// The screens of LCDd's clients on the panel: the server, the turns they take among the pages,
// the alerts that take the panel, and the keys the clients asked for.
#include "engine/Engine.h"
#include "profile/LoadPage.h"

namespace {

// Names this machine alone answers to.
bool isLoopbackName(const QString& host) {
    return host == QLatin1String("localhost") || host.startsWith(QLatin1String("127.")) ||
           host == QLatin1String("::1") || host.isEmpty();
}

} // namespace

void Engine::openLcdServer() {
    if (app.config.lcddListen.isEmpty()) {
        return;
    }
    const QString where = QStringLiteral("[serveur] LCDd = ") + app.config.lcddListen;
    const std::optional<LcddAddress> address = parseLcddAddress(app.config.lcddListen);
    if (!address) {
        add(tr("%1 : adresse illisible (hôte:port attendu), pas de serveur LCDd").arg(where));
        selectLast();
        return;
    }
    // Relayeur would be its own client, on the panel it serves.
    const std::optional<LcddAddress> panelAt = parseLcddAddress(app.config.lcddServer);
    if (app.config.TypeLCD == 4 && panelAt && panelAt->port == address->port &&
        isLoopbackName(panelAt->host) && isLoopbackName(address->host)) {
        add(tr("%1 : c'est aussi l'adresse de l'afficheur LCDd (TypeLCD = 4), pas de serveur "
               "LCDd")
                .arg(where));
        selectLast();
        return;
    }
    screens.width = app.config.C;
    screens.height = app.config.L;
    if (const QString problem = lcddServer.listen(*address); !problem.isEmpty()) {
        add(lcddServer.addressTaken()
                ? tr("Serveur LCDd indisponible : %1 (un autre serveur, LCDd peut-être, y est "
                     "déjà : [serveur] LCDd peut en prendre un autre)")
                      .arg(problem)
                : tr("Serveur LCDd indisponible : %1").arg(problem));
        selectLast();
        return;
    }
    lcddServerStart = env.monotonicMs();
    const QString addresses = lcddServer.addresses().join(QStringLiteral(", "));
    add(lcddServer.loopbackOnly()
            ? tr("Serveur LCDd : à l'écoute sur %1").arg(addresses)
            : tr("Serveur LCDd : à l'écoute sur %1, ouvert aux autres machines du réseau")
                  .arg(addresses));
    selectLast();
    connect(&lcddServer, &LcdServer::screensChanged, this, &Engine::lendStillPage);
    connect(&lcddServer, &LcdServer::clientConnected, this, [this](int id, const QString& peer) {
        clientNames[id] = peer;
        add(tr("Client LCDd connecté depuis %1").arg(peer));
        selectLast();
    });
    connect(&lcddServer, &LcdServer::clientNamed, this, [this](int id, const QString& name) {
        add(tr("Client LCDd %1 : se nomme « %2 »").arg(clientNames.value(id), name));
        selectLast();
        clientNames[id] = tr("« %1 »").arg(name);
    });
    connect(&lcddServer, &LcdServer::clientLeft, this, [this](int id, const QString& why) {
        const QString name = clientNames.take(id);
        add(why.isEmpty() ? tr("Client LCDd %1 parti").arg(name)
                          : tr("Client LCDd %1 déconnecté : %2").arg(name, why));
        selectLast();
    });
    connect(&lcddServer, &LcdServer::clientRefused, this,
            [this](const QString& peer, const QString& why) {
                add(tr("Client LCDd de %1 refusé : %2").arg(peer, why));
                selectLast();
            });
}

// The panel's keys go to the client that asked for them; the others turn the pages.
void Engine::panelKey(const QString& key) {
    const QByteArray name = key.toLatin1();
    const std::optional<int> client =
        keyTaker(screens, name,
                 screenTurns.shown ? std::optional<int>(screenTurns.shown->client) : std::nullopt);
    if (client) {
        lcddServer.send(*client, QByteArrayLiteral("key ") + name + '\n');
        return;
    }
    turnPageByKey(key);
}

// Tells the clients which of their screens the panel shows now, as LCDd does.
void Engine::showClientScreen(const std::optional<ShownScreen>& wanted) {
    if (wanted == screenTurns.shown) {
        return;
    }
    const qint64 now = env.monotonicMs();
    if (const std::optional<ShownScreen>& old = screenTurns.shown) {
        const auto client = screens.clients.find(old->client);
        if (client != screens.clients.end()) {
            for (ServerScreen& screen : client->second.screens) {
                if (screen.id == old->id && screen.timeout >= 0) {
                    // A timeout counts only while the screen shows.
                    screen.timeout = std::max<int>(
                        1, screen.timeout -
                               static_cast<int>((now - screenTurns.shownSince) / kLcddTickMs));
                }
            }
            lcddServer.send(old->client, QByteArrayLiteral("ignore ") + old->id + '\n');
        }
    }
    if (wanted) {
        lcddServer.send(wanted->client, QByteArrayLiteral("listen ") + wanted->id + '\n');
        // An alert lights a quiet panel up for its time.
        const ServerScreen* screen = findScreen(screens, wanted->client, wanted->id);
        if (screen && screen->priority == ScreenPriority::Alert) {
            wakePanel(screen->timeout >= 0   ? screen->timeout * kLcddTickMs
                      : screen->duration > 0 ? screen->duration * kLcddTickMs
                                             : kStillPageMs);
        }
    }
    screenTurns.shown = wanted;
    screenTurns.shownSince = now;
}

// The frame of the client screen the panel shows now, if one does: an alert over everything,
// else the screen whose turn it is. A screen whose timeout ran out while shown goes, as in LCDd;
// a turn whose screen went ends, and the next page comes.
std::optional<Frame> Engine::clientScreenFrame() {
    if (screens.clients.empty() && !screenTurns.shown) {
        return std::nullopt;
    }
    const qint64 now = env.monotonicMs();
    if (const std::optional<ShownScreen>& shown = screenTurns.shown) {
        const ServerScreen* screen = findScreen(screens, shown->client, shown->id);
        if (screen && screen->timeout >= 0 &&
            now - screenTurns.shownSince >= screen->timeout * kLcddTickMs) {
            auto& list = screens.clients[shown->client].screens;
            std::erase_if(list, [&](const ServerScreen& s) { return s.id == shown->id; });
        }
    }
    const std::optional<ShownScreen> takeover = screenTakingOver(screens);
    if (screenTurns.turn && !findScreen(screens, screenTurns.turn->client, screenTurns.turn->id)) {
        screenTurns.turn.reset();
        LoadPage(app.pages.NextPage);
    }
    const std::optional<ShownScreen> wanted = takeover ? takeover : screenTurns.turn;
    const bool back = screenTurns.shown && !wanted;
    showClientScreen(wanted);
    if (back) {
        // The pages come back whole, on a panel cleared of the screen.
        for (LineRecord& line : app.pages.CurrentLines) {
            line.Pending = 1;
        }
        Frame blank;
        blank.lines = std::clamp<int>(app.config.L, 1, Frame::kMaxLines);
        for (int i = 0; i < blank.lines; ++i) {
            blank.rows[i] = QByteArray(std::max<int>(app.config.C, 0), ' ');
        }
        if (panel) {
            panel->show(forPanel(blank, {}));
        }
        return std::nullopt;
    }
    if (!wanted) {
        return std::nullopt;
    }
    return drawScreen(*findScreen(screens, wanted->client, wanted->id), app.config.C, app.config.L,
                      (now - lcddServerStart) / kLcddTickMs);
}

// When a page's time is over, the next client screen in turn shows before the next page, for
// its duration or else that page's time (a page that stays lends kStillPageMs). False when no
// client screen takes turns.
bool Engine::startScreenTurn() {
    const std::optional<ShownScreen> next = nextScreenTurn(screens, screenTurns);
    if (!next) {
        return false;
    }
    screenTurns.turn = next;
    const ServerScreen* screen = findScreen(screens, next->client, next->id);
    if (screen->duration > 0) {
        timer2.setEnabled(false);
        timer2.setInterval(
            static_cast<int>(std::min<qint64>(screen->duration * kLcddTickMs, 1 << 30)));
        timer2.setEnabled(true);
    }
    return true;
}

// A page without a time stays on the panel as long as it is shown; while clients have screens
// that take turns, it lends them the panel every few seconds and comes back after each.
void Engine::lendStillPage() {
    if (screenTurns.turn || screenTurns.pageStays || shownPage == 0 || timer2.interval() != 0 ||
        !screensTakeTurns(screens)) {
        return;
    }
    screenTurns.pageStays = true;
    timer2.setInterval(kStillPageMs);
}

// A refresh at least as frequent as LCDd's reads and answers the clients itself, before it draws:
// one wake-up serves both.
void Engine::paceLcdServer() {
    lcddServerPaced = feed && timer1.interval() > 0 && timer1.interval() <= kLcddTickMs;
    lcddServer.setPacedFromOutside(lcddServerPaced);
}
