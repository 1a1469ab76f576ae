#pragma once

#include "platform/SharedLibrary.h"
#include "sources/media/WinampLink.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The MPRIS link (MprisWinampLink) lives in a module of its own, so that Qt D-Bus is loaded only
// by a profile that asks the media player something: the module is loaded at the first command.
// Without the module no player is ever found.
class MprisModuleLink final : public WinampLink {
public:
    using Report = std::function<void(const QString& problem)>;

    // moduleCandidates are tried in turn; report hears once why none could be loaded.
    MprisModuleLink(QStringList moduleCandidates, QString playlistDirectory,
                    AudioStreamInfoReader readStreamInfo, Report report);
    ~MprisModuleLink() override;

    QString find() override;
    qint32 send(const QString& player, qint32 command, qint32 argument) override;

private:
    WinampLink* loaded();

    QStringList moduleCandidates;
    QString playlistDirectory;
    AudioStreamInfoReader readStreamInfo;
    Report report;
    bool tried = false;
    std::optional<SharedLibrary> module; // outlives the link made by its code
    std::unique_ptr<WinampLink> link;
};

// The module's one entry point, by this name: a new MprisWinampLink, owned by the caller.
inline constexpr char kMprisLinkFactory[] = "relayeurMakeMprisLink";
using MprisLinkFactory = WinampLink* (*)(const QString& playlistDirectory,
                                         const AudioStreamInfoReader& readStreamInfo);
