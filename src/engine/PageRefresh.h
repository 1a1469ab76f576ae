#pragma once

#include "model/Characters.h"
#include "model/DisplayConfig.h"
#include "model/Frame.h"
#include "profile/PageModel.h"
#include "render/CharacterMapping.h"
#include "render/ExpandVariables.h"

#include <QByteArrayList>
#include <optional>

// One refresh of the current lines of `pages` as the program draws them: variables replaced from
// `sources`, bargraphs with the profile's cells, scrolling one step. Nothing when no line is
// pending.
std::optional<Frame> refreshPage(PageModel& pages, const DisplayConfig& config,
                                 const PresenceFlags& flags, const VariableSources& sources,
                                 const ProfileParams& params);

// The frame in the codes of a panel that takes `characters`, when the settings name its
// character ROM; as it is otherwise. `referring` are the texts whose own glyphs keep their slots.
Frame panelFrame(Frame frame, const DisplayConfig& config, const PanelCharacters& characters,
                 const QByteArrayList& referring, GlyphSlots& slots);
