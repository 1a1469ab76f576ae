// The module that MprisModuleLink and loadSessionWatch load: the only code of the program that
// uses Qt D-Bus.
#include "sources/media/DBusSessionWatch.h"
#include "sources/media/MprisModuleLink.h"
#include "sources/media/MprisWinampLink.h"

extern "C" __attribute__((visibility("default"))) WinampLink*
relayeurMakeMprisLink(const QString& playlistDirectory,
                      const AudioStreamInfoReader& readStreamInfo) {
    return new MprisWinampLink(playlistDirectory, readStreamInfo);
}

extern "C" __attribute__((visibility("default"))) SessionWatch*
relayeurMakeSessionWatch(const SessionWatchOptions& options, const SessionWatch::Changed& changed,
                         const SessionWatch::Report& report) {
    return new DBusSessionWatch(options, changed, report, QDBusConnection::systemBus(),
                                QDBusConnection::sessionBus());
}

// The factories have the types the loaders expect.
static_assert(std::is_same_v<decltype(&relayeurMakeMprisLink), MprisLinkFactory>);
static_assert(std::is_same_v<decltype(&relayeurMakeSessionWatch), SessionWatchFactory>);
