#include "engine/Engine.h"
#include "profile/LoadPage.h"

void Engine::tryPage(const std::array<LineRecord, kLinesPerPage>& lines,
                     const ProfileParams& params) {
    if (trial) {
        trial->lines = lines;
        trial->params = params;
    } else {
        trial = Trial{lines, params, app.params, false};
        add(tr("Essai sur l'afficheur de la page en cours d'édition"));
        selectLast();
        if (!feed) {
            // As the start button starts it: keys pressed meanwhile turn nothing.
            if (panel) {
                panel->takeInput();
            }
            InitLCD();
            stopsOnPress = true;
            startFeed();
            trial->startedFeed = true;
            Q_EMIT startButtonChanged(true);
        }
    }
    app.params = params;
    showTrialLines();
}

// The trial's lines as a page load puts its own: a line that holds a message keeps it, and one
// whose text and mode stay goes on where it is.
void Engine::showTrialLines() {
    PageModel& pages = app.pages;
    for (int l = 0; l < kLinesPerPage; ++l) {
        const LineRecord& line = trial->lines[l];
        if (!pages.held.until[l] && (pages.LineTemplate[l] != line.Text ||
                                     pages.CurrentLines[l].ScrollMode != line.ScrollMode)) {
            pages.CurrentLines[l] = line;
            pages.LineTemplate[l] = line.Text;
        }
    }
}

void Engine::endTrial() {
    if (!trial) {
        return;
    }
    const Trial over = *std::exchange(trial, std::nullopt);
    app.params = over.profileParams;
    if (ended) {
        return; // the program is on its way out: the pages stay still
    }
    PageModel& pages = app.pages;
    const qint16 shown = pages.ShownPage;
    for (int l = 0; l < kLinesPerPage; ++l) {
        if (!pages.held.until[l]) {
            pages.CurrentLines[l] = pages.PageTable[shown][l];
            pages.LineTemplate[l] = pages.CurrentLines[l].Text;
        }
    }
    timer2.setEnabled(false);
    timer2.setInterval(::LoadPage(pages, shown));
    timer2.setEnabled(true);
    add(tr("Fin de l'essai sur l'afficheur"));
    selectLast();
    if (over.startedFeed && feed) {
        // As the stop button leaves it.
        InitLCD();
        stopsOnPress = false;
        stopFeed();
        if (panel) {
            panel->show(forPanel(Frame::banner(kStopBanner)));
        }
        Q_EMIT startButtonChanged(false);
    }
}
