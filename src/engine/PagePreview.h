#pragma once

#include "model/Characters.h"
#include "model/Frame.h"
#include "profile/PageModel.h"
#include "render/CharacterMapping.h"

#include <QByteArray>
#include <array>
#include <optional>

class Engine;

// The page the profile editor shows beside it, drawn as the refresh draws the panel: the
// engine's settings, variable sources and character mapping, with lines and scroll positions of
// its own, so the program's panel and rotation go on untouched.
class PagePreview {
public:
    explicit PagePreview(const Engine& engine);

    // Puts the page on the preview's lines as LoadPage puts a page on the panel's: a line whose
    // text did not change keeps its scroll position.
    void setPage(const std::array<LineRecord, kLinesPerPage>& lines, const ProfileParams& params);
    // One refresh, for a panel that has `characters`: nothing when no line is pending.
    std::optional<Frame> refresh(const PanelCharacters& characters);

private:
    const Engine& engine;
    PageModel pages;
    ProfileParams params;
    GlyphSlots glyphSlots;
};

// What a line holding only `raw` shows now, variables replaced: the value the editor's
// « Insérer une variable » menu gives beside each variable.
QByteArray currentValue(const Engine& engine, const QByteArray& raw);
