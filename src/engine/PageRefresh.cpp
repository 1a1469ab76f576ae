#include "engine/PageRefresh.h"

#include "drivers/Hd44780Font.h"
#include "render/Bargraph.h"
#include "render/RefreshLCD.h"

std::optional<Frame> refreshPage(PageModel& pages, const DisplayConfig& config,
                                 const PresenceFlags& flags, const VariableSources& sources,
                                 const ProfileParams& params) {
    return RefreshLCD({pages, config,
                       [&] {
                           return ExpandVariables({pages, config, flags, sources});
                       },
                       [&](const QByteArray& text) {
                           return Bargraph(text, config.C, params.plein, params.vide,
                                           sources.locale);
                       }});
}

Frame panelFrame(Frame frame, const DisplayConfig& config, const PanelCharacters& characters,
                 const QByteArrayList& referring, GlyphSlots& slots) {
    if (config.caracteres == CharacterSet::Ansi) {
        return frame;
    }
    return mapCharacters(std::move(frame),
                         {config.caracteres, characters, referring, &bigDigitCgram()}, slots);
}
