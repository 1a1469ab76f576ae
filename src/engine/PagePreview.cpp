#include "engine/PagePreview.h"

#include "engine/Engine.h"
#include "engine/PageRefresh.h"
#include "profile/LoadPage.h"

PagePreview::PagePreview(const Engine& engine) : engine(engine) {}

void PagePreview::setPage(const std::array<LineRecord, kLinesPerPage>& lines,
                          const ProfileParams& profile) {
    // A new scroll mode draws the line anew, as a new text does.
    for (int l = 0; l < kLinesPerPage; ++l) {
        if (pages.CurrentLines[l].ScrollMode != lines[l].ScrollMode) {
            pages.CurrentLines[l] = lines[l];
            pages.LineTemplate[l] = lines[l].Text;
        }
    }
    pages.PageTable[1] = lines;
    LoadPage(pages, 1);
    params = profile;
}

std::optional<Frame> PagePreview::refresh(const PanelCharacters& characters) {
    const AppState& app = engine.state();
    const std::optional<Frame> frame =
        refreshPage(pages, app.config, app.flags, engine.variableSources(), params);
    if (!frame) {
        return std::nullopt;
    }
    return panelFrame(*frame, app.config, characters,
                      referringTexts(pages, app.config.L, params.plein, params.vide), glyphSlots);
}

QByteArray currentValue(const Engine& engine, const QByteArray& raw) {
    const AppState& app = engine.state();
    PageModel scratch;
    scratch.CurrentLines[0] = freshLine(raw, kScrollFixed);
    scratch.LineTemplate[0] = raw;
    DisplayConfig config = app.config;
    config.L = 1;
    ExpandVariables({scratch, config, app.flags, engine.variableSources()});
    return scratch.CurrentLines[0].Text;
}
