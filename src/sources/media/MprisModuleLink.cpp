#include "sources/media/MprisModuleLink.h"

#include <QCoreApplication>

MprisModuleLink::MprisModuleLink(QStringList moduleCandidates, QString playlistDirectory,
                                 AudioStreamInfoReader readStreamInfo, Report report)
    : moduleCandidates(std::move(moduleCandidates)),
      playlistDirectory(std::move(playlistDirectory)), readStreamInfo(std::move(readStreamInfo)),
      report(std::move(report)) {}

MprisModuleLink::~MprisModuleLink() = default;

WinampLink* MprisModuleLink::loaded() {
    if (tried) {
        return link.get();
    }
    tried = true;
    // Qt D-Bus keeps a thread and global state to the end of the process: its code stays.
    module = SharedLibrary::open(moduleCandidates, true);
    const auto make =
        module ? reinterpret_cast<MprisLinkFactory>(module->symbol(kMprisLinkFactory)) : nullptr;
    if (make == nullptr) {
        if (report) {
            report(QCoreApplication::translate("MprisModuleLink",
                                               "Lecteur multimédia : module MPRIS introuvable ou "
                                               "illisible (%1) : aucun lecteur ne sera vu")
                       .arg(moduleCandidates.join(QStringLiteral(", "))));
        }
        return nullptr;
    }
    link.reset(make(playlistDirectory, readStreamInfo));
    return link.get();
}

QString MprisModuleLink::find() {
    WinampLink* player = loaded();
    return player != nullptr ? player->find() : QString();
}

qint32 MprisModuleLink::send(const QString& player, qint32 command, qint32 argument) {
    WinampLink* target = loaded();
    return target != nullptr ? target->send(player, command, argument) : 0;
}
