#pragma once

#include "sources/winamp.h"

#include <QByteArray>
#include <QLocale>

// The %%winamp variables of one line, rewritten in place: the player is looked for, its tag is
// read afresh (every call, even for a line without a tag variable), then each of the sixteen
// variables present is replaced by one answer of the player. Without a player every variable
// shows its fallback and the tag variables show nothing.
void WinampGroup(QByteArray& text, WinampState& winamp, const QByteArray& rep_winamp,
                 const QLocale& locale);
