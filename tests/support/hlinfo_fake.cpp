// A Half-Life statistics library for the tests, built from the shipped header so that its functions
// keep the signatures the program resolves. Built with HLINFO_FAKE_LOAD_ONLY, it offers
// LoadInfoDllFrom alone.
#include "support/hlinfo_fake.h"

#include "sources/hlinfo.h"

#include <cstring>

extern "C" {
HlinfoFake hlinfo_fake;
}

int LoadInfoDllFrom(char* directory) {
    std::strncpy(hlinfo_fake.directory, directory, sizeof hlinfo_fake.directory - 1);
    return hlinfo_fake.loadResult;
}

#ifndef HLINFO_FAKE_LOAD_ONLY
int GetLocalPlayerIndex(void) {
    return hlinfo_fake.localPlayerIndex;
}
int GetPlayerName(int index, char** name) {
    if (index != hlinfo_fake.localPlayerIndex || hlinfo_fake.nameLength < 0) {
        return 0;
    }
    if (hlinfo_fake.nameInOwnText) {
        *name = hlinfo_fake.name;
    } else {
        std::memcpy(*name, hlinfo_fake.name, hlinfo_fake.nameLength + 1);
    }
    return 1;
}
float GetFrameRate(void) {
    return hlinfo_fake.frameRate;
}
int GetTeamsSize(void) {
    return hlinfo_fake.teamsSize;
}
int GetPlayersSize(void) {
    return hlinfo_fake.playersSize;
}
short GetPlayerDeaths(int index) {
    return index == hlinfo_fake.localPlayerIndex ? hlinfo_fake.deaths : 0;
}
short GetPlayerKill(int index) {
    return index == hlinfo_fake.localPlayerIndex ? hlinfo_fake.kills : 0;
}
#endif
