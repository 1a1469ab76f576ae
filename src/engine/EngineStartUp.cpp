// The engine's start-up: one sequence for the window, the terminal and the tests.
#include "engine/Engine.h"
#include "engine/ReadParm.h"

#include <QCoreApplication>

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
        steps.push_back([this, step = reading[k], last = k + 1 == reading.size()] {
            if (!startUpRun->settingsRead) {
                return false;
            }
            startUpRun->settingsRead = step();
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
            add(QStringLiteral("reprendre = 1 : la liste des profils récents est vide, aucun "
                               "profil n'est repris"));
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
            env.pause([this] { runStartUp(); });
            return;
        }
    }
    finishStartUp();
}

void Engine::finishStartUp() {
    startUpRun.reset();
    lineMessageServer.setAccepting(true);
    Q_EMIT startedUp();
    if (endAsked) {
        EndProc();
    }
}
