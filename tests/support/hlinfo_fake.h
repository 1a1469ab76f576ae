#pragma once

// What the test build of libhlinfo.so answers, and how it was asked. A test finds the object
// with dlsym ("hlinfo_fake") in the loaded library, resets it and sets the answers it needs.
struct HlinfoFake {
    int loadResult = 0;
    char directory[256] = {}; // the directory handed to LoadInfoDllFrom

    int localPlayerIndex = 0;
    // The bytes GetPlayerName writes into the caller's buffer (NULs included), followed by a
    // NUL; a query for another player than the local one fails.
    char name[64] = "Abcd";
    int nameLength = 4;
    int nameResult = 1;
    bool nameInOwnText = false; // point the caller at the library's copy instead of writing
    float frameRate = 0;
    int playersSize = 0;
    int teamsSize = 0;
    short kills = 0; // of the local player; any other player has none
    short deaths = 0;

    int indexCalls = 0;
    int nameCalls = 0;
    int frameRateCalls = 0;
};
