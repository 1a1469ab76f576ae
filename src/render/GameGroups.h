#pragma once

#include "sources/hlcs.h"

#include <QByteArray>
#include <QLocale>

// The Half-Life and SETI@home steps of the variable expansion. Each rewrites a line in place,
// token by token in a fixed order: a source is asked once, and only when its token is in the
// line, and every occurrence of the token takes its value. ExpandVariables decides when they
// run (the Half-Life group only while the library is available).

// %%HL_PlayerName, %%HL_FPS, %%HL_PlayersSize, %%HL_TeamsSize, %%HL_PlayerKill,
// %%HL_PlayerDeaths.
void HalfLifeGroup(QByteArray& text, const HalfLifeLibrary& hl, const QLocale& locale);

// %%seti_progress, %%seti_cache, %%seti_fini, read below rep_seti.
void SetiGroup(QByteArray& text, const QByteArray& rep_seti);
