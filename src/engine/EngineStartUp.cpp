// The engine's start-up: one sequence for the window, the terminal and the tests.
#include "engine/Engine.h"
#include "engine/ReadParm.h"

#include <QCoreApplication>
#include <QDir>

void Engine::startUp(const StartUp& plan, StartUpHooks hooks) {
    startUpRun = std::make_unique<StartUpRun>();
    startUpRun->paused = hooks.paused;
    std::vector<std::function<bool()>>& steps = startUpRun->steps;
    steps.push_back([this, hooks, notes = plan.notes] {
        if (hooks.showWindow) {
            hooks.showWindow();
        }
        // Without a window the process names the socket.
        const QString handle =
            hooks.windowHandle ? hooks.windowHandle()
                               : QString::number(QCoreApplication::applicationPid(), 16).toUpper();
        if (!handle.isEmpty()) {
            HookWindow(handle);
        }
        for (const QString& note : notes) {
            add(note);
        }
        return false;
    });
    const std::vector<std::function<bool()>> reading =
        ReadParmSteps({settingsFile(), app.config, app.flags, *this, *env.boxes,
                       [this] { MbmTest(app.mbm, app.flags, *env.boxes, kAppTitle); }});
    for (std::size_t k = 0; k < reading.size(); ++k) {
        const bool last = k + 1 == reading.size();
        if (last) {
            // The last step looks for the sensor block.
            steps.push_back([this] { return startUpRun->settingsRead && awaitSensorsPublisher(); });
        }
        steps.push_back([this, step = reading[k], first = k == 0, last] {
            if (!startUpRun->settingsRead) {
                return false;
            }
            startUpRun->settingsRead = step();
            if (first && startUpRun->settingsRead) {
                startSensorsPublisher();
            }
            if (last && startUpRun->settingsRead) {
                checkDisplaySettings();
            }
            return startUpRun->settingsRead && !last;
        });
    }
    steps.push_back([this, hooks] {
        prepare();
        if (hooks.panelMade) {
            hooks.panelMade();
        }
        const QList<RecentEntry> recent = RecentProfile();
        if (hooks.recentListed) {
            hooks.recentListed(recent);
        }
        if (hooks.ready) {
            hooks.ready();
        }
        return false;
    });
    steps.push_back([this, plan] {
        const StartUp shown = resumeLastProfile(plan, app.config.reprendre, app.recent);
        if (app.config.reprendre && shown.profile.isEmpty()) {
            add(tr("reprendre = 1 : la liste des profils récents est vide, aucun profil n'est "
                   "repris"));
            selectLast();
        }
        showProfile(
            shown, [this](const QString& profile) { return LoadProfile(profile); },
            [this] { Command1(); });
        return false;
    });
    runStartUp();
}

// Runs the steps up to the next pause, and the end once they are done or a way out was taken.
void Engine::runStartUp() {
    while (!endAsked && startUpRun->next < startUpRun->steps.size()) {
        if (startUpRun->steps[startUpRun->next++]()) {
            if (startUpRun->paused) {
                startUpRun->paused();
            }
            const auto pause = startUpRun->hold ? std::exchange(startUpRun->hold, {}) : env.pause;
            pause([this] { runStartUp(); });
            return;
        }
    }
    finishStartUp();
}

// capteurs=1: relayeur-sensors is started as soon as the settings are read, so that it gets ready
// while the other programs are tested.
void Engine::startSensorsPublisher() {
    if (app.config.capteurs) {
        sensorsPublisher.start(
            env.sensorsPublisher.isEmpty()
                ? QDir(env.executableDir).filePath(QStringLiteral("relayeur-sensors"))
                : env.sensorsPublisher,
            app.mbm.blockName);
    }
}

// Before the sensor block is looked for, the log waits for what came of the publisher.
bool Engine::awaitSensorsPublisher() {
    if (!app.config.capteurs) {
        return false;
    }
    startUpRun->hold = [this](std::function<void()> resume) {
        sensorsPublisher.whenSettled([this, resume = std::move(resume)](const QString& outcome) {
            add(outcome);
            selectLast();
            resume();
        });
    };
    return true;
}

void Engine::finishStartUp() {
    startUpRun.reset();
    lineMessageServer.setAccepting(true);
    lcddServer.setAccepting(true);
    Q_EMIT startedUp();
    if (endAsked) {
        EndProc();
    }
}
