/* The C functions that Relayeur looks for in libhlinfo.so, the library that reports
 * Half-Life game statistics. Build a library with these functions, put it beside the
 * relayeur executable or on the library path, and the %%HL_ variables show its figures. */
#ifndef RELAYEUR_HLINFO_H
#define RELAYEUR_HLINFO_H

#ifdef __cplusplus
extern "C" {
#endif

/* Called once at start-up with the Half-Life directory; 0 means the figures are available. */
int LoadInfoDllFrom(char* directory);
int GetLocalPlayerIndex(void);
/* Writes the player's name into the caller's buffer of 25 characters; 0 means failure. */
int GetPlayerName(int index, char** name);
float GetFrameRate(void);
int GetTeamsSize(void);
int GetPlayersSize(void);
short GetPlayerDeaths(int index);
short GetPlayerKill(int index);

#ifdef __cplusplus
}
#endif

#endif
