#include "render/WinampGroup.h"

#include "platform/AnsiText.h"
#include "platform/RegularFile.h"
#include "render/ReplaceToken.h"


void WinampGroup(QByteArray& text, WinampState& winamp, const QByteArray& rep_winamp,
                 const QLocale& locale) {
    WinampFind(winamp);

    // Only a playlist file the player has already written is worth a second look.
    TagFields tag;
    const QString playlist = ansi::toUnicode(rep_winamp) + kWinampPlaylistFile;
    if (isRegularFile(playlist) && WinampFind(winamp)) {
        ReadID3Tag(WinampCurrentFile(winamp, rep_winamp), tag);
    }

    const WinampState& w = winamp;
    replaceToken(text, "%%winamp_total", [&] { return WinampListLength(w); });
    replaceToken(text, "%%winamp_position", [&] { return WinampListPosition(w); });
    replaceToken(text, "%%winamp_sample", [&] { return WinampSampleRate(w); });
    replaceToken(text, "%%winamp_bit", [&] { return WinampBitrate(w); });
    replaceToken(text, "%%winamp_t_total", [&] { return WinampTotalTime(w); });
    replaceToken(text, "%%winamp_t_ecoule", [&] { return WinampElapsedTime(w); });
    replaceToken(text, "%%winamp_t_restant", [&] { return WinampRemainingTime(w); });
    replaceToken(text, "%%winamp_titre", [&] { return tag[0]; });
    replaceToken(text, "%%winamp_artiste", [&] { return tag[1]; });
    replaceToken(text, "%%winamp_album", [&] { return tag[2]; });
    replaceToken(text, "%%winamp_annee", [&] { return tag[3]; });
    replaceToken(text, "%%winamp_genre", [&] { return tag[4]; });
    replaceToken(text, "%%winamp_comment", [&] { return tag[5]; });
    replaceToken(text, "%%winamp_s_total", [&] { return WinampTotalSeconds(w); });
    replaceToken(text, "%%winamp_s_ecoule", [&] { return WinampElapsedSeconds(w); });
    replaceToken(text, "%%winamp_s_restant", [&] { return WinampRemainingSeconds(w, locale); });
}
