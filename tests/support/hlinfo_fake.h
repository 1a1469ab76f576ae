#pragma once

// What the test build of libhlinfo.so answers. A test finds it with dlsym ("hlinfo_fake") in the
// loaded library and sets the answers it needs.
struct HlinfoFake {
    int loadResult = 0;
    char directory[256] = {}; // as handed to LoadInfoDllFrom
    int localPlayerIndex = 0; // any other player has no name, kills or deaths
    // The bytes GetPlayerName writes into the caller's buffer, then a NUL; or, with nameInOwnText,
    // the text it points the caller at. A negative length: the query fails.
    char name[64] = "Abcd";
    int nameLength = 4;
    bool nameInOwnText = false;
    float frameRate = 0;
    int playersSize = 0;
    int teamsSize = 0;
    short kills = 0;
    short deaths = 0;
};
