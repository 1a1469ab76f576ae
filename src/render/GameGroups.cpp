#include "render/GameGroups.h"

#include "render/ReplaceToken.h"
#include "sources/divers.h"

void HalfLifeGroup(QByteArray& text, const HalfLifeLibrary& hl, const QLocale& locale) {
    replaceToken(text, "%%HL_PlayerName", [&] { return HLPlayerName(hl); });
    replaceToken(text, "%%HL_FPS", [&] { return HLFrameRate(hl, locale); });
    replaceToken(text, "%%HL_PlayersSize", [&] { return HLPlayersSize(hl); });
    replaceToken(text, "%%HL_TeamsSize", [&] { return HLTeamsSize(hl); });
    replaceToken(text, "%%HL_PlayerKill", [&] { return HLPlayerKill(hl); });
    replaceToken(text, "%%HL_PlayerDeaths", [&] { return HLPlayerDeaths(hl); });
}

void SetiGroup(QByteArray& text, const QByteArray& rep_seti) {
    auto decimal = [&](qint16 (*source)(const QByteArray&)) {
        return [&, source] { return QByteArray::number(source(rep_seti)); };
    };
    replaceToken(text, "%%seti_progress", decimal(SetiProgress));
    replaceToken(text, "%%seti_cache", decimal(SetiCacheCount));
    replaceToken(text, "%%seti_fini", decimal(SetiDoneCount));
}
