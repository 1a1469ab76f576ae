// The module that MprisModuleLink loads: the only code of the program that uses Qt D-Bus.
#include "sources/media/MprisModuleLink.h"
#include "sources/media/MprisWinampLink.h"

extern "C" __attribute__((visibility("default"))) WinampLink*
relayeurMakeMprisLink(const QString& playlistDirectory,
                      const AudioStreamInfoReader& readStreamInfo) {
    return new MprisWinampLink(playlistDirectory, readStreamInfo);
}

// The factory has the type the loader expects.
static_assert(std::is_same_v<decltype(&relayeurMakeMprisLink), MprisLinkFactory>);
