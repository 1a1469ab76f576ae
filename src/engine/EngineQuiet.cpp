#include "engine/Engine.h"
#include "engine/QuietHours.h"
#include "engine/StartUp.h"

void Engine::startQuiet(const IniFile& file) {
    QuietSettings settings = readQuietSettings(file, *this);
    if (settings.any()) {
        makeQuiet(std::move(settings));
    }
}

void Engine::makeQuiet(QuietSettings settings) {
    const bool follows = settings.session || settings.player;
    std::function<QDateTime()> wall = sources.now;
    if (!wall) {
        wall = [] { return QDateTime::currentDateTime(); };
    }
    quiet = std::make_unique<QuietHours>(std::move(settings),
                                         QuietClocks{std::move(wall), env.monotonicMs}, this);
    connect(quiet.get(), &QuietHours::changed, this, &Engine::quietChanged);
    if (!follows) {
        quiet->check();
        return;
    }
    // Only now is the D-Bus module loaded: without these conditions it never is.
    QuietHours* hours = quiet.get();
    quiet->watch(loadSessionWatch(
        helperCandidates(env.executableDir, QStringLiteral("relayeur-mpris.so")),
        {hours->settings().session, hours->settings().player},
        [hours](const SessionState& state) { hours->setSession(state); },
        [this](const QString& problem) {
            add(problem);
            selectLast();
        }));
}

void Engine::quietChanged(QuietReason reason) {
    const bool lit = reason == QuietReason::None;
    panelBacklight = panel && panel->setBacklight(lit);
    if (lit) {
        // The page comes back whole over what the quiet time left.
        for (LineRecord& line : app.pages.CurrentLines) {
            line.Pending = 1;
        }
        add(tr("L'afficheur se réveille"));
    } else {
        add(tr("L'afficheur se met en veille : %1")
                .arg(quietReasonText(reason, quiet->settings())));
    }
    selectLast();
    tellMqtt();
}

Frame Engine::quietened(Frame frame) {
    if (!quiet || !quiet->quiet() || panelBacklight) {
        return frame;
    }
    Frame blank;
    blank.lines = frame.lines;
    blank.panelCodes = frame.panelCodes;
    for (int i = 0; i < blank.lines; ++i) {
        blank.rows[i] = QByteArray(std::max<int>(app.config.C, 0), ' ');
    }
    return blank;
}

void Engine::wakePanel(qint64 ms) {
    if (quiet) {
        quiet->wake(ms);
    }
}

// Home Assistant's switch works without [silence] too: it makes quiet hours of its own.
void Engine::askBacklight(bool on) {
    if (!quiet) {
        if (on) {
            return;
        }
        makeQuiet({});
    }
    quiet->askBacklight(on);
}

bool Engine::backlightOn() const {
    return !quiet || !quiet->quiet();
}
