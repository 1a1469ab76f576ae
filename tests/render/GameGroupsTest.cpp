#include "render/GameGroups.h"

#include "render/ExpandVariables.h"
#include "support/HlinfoFakeControl.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString kFakeLibrary = QStringLiteral(HLINFO_FAKE_LIBRARY);
const QLocale kFrench(QLocale::French, QLocale::France);

// One panel line expanded with the game groups plugged in the way the program plugs them, the
// Half-Life library loaded (or not) by the start-up call.
class GameLine : public ::testing::Test {
protected:
    void SetUp() override {
        fake = control.fake;
        ASSERT_NE(fake, nullptr) << "the test library is missing: " << qPrintable(kFakeLibrary);

        config.L = 1;
        sources.locale = kFrench;
        sources.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8)); };
        sources.halfLifeGroup = [this](QByteArray& text) { HalfLifeGroup(text, hl, kFrench); };
        sources.setiGroup = [this](QByteArray& text) { SetiGroup(text, rep_seti); };
    }

    void startUp(const QStringList& candidates) {
        flags.HLAvailable = LoadInfoDllFrom(hl, candidates, "/jeux/Half-Life/") == 0;
    }

    QByteArray expand(const QByteArray& text) {
        pages.CurrentLines[0] = freshLine(text, 0);
        pages.LineTemplate[0] = text;
        ExpandVariables({pages, config, flags, sources});
        return pages.CurrentLines[0].Text;
    }

    HlinfoFakeControl control{kFakeLibrary};
    HlinfoFake* fake = nullptr;
    HalfLifeLibrary hl;
    TempDir seti;
    QByteArray rep_seti = QFile::encodeName(seti.path()) + '/';
    PageModel pages;
    DisplayConfig config;
    PresenceFlags flags;
    VariableSources sources;
};

} // namespace

TEST_F(GameLine, HalfLifeFiguresReplaceTheirVariables) {
    startUp({kFakeLibrary});
    ASSERT_TRUE(flags.HLAvailable);
    fake->localPlayerIndex = 3; // any other player has neither name nor figures
    fake->frameRate = 72.46f;
    fake->kills = -1;
    fake->deaths = 4;
    fake->playersSize = 16;
    fake->teamsSize = 2;
    EXPECT_EQ(expand("%%HL_PlayerName %%HL_FPS fps %%HL_PlayerKill/%%HL_PlayerDeaths "
                     "%%HL_PlayersSize j %%HL_TeamsSize eq"),
              "Abcd 72,5 fps -1/4 16 j 2 eq");

    fake->frameRateCalls = 0;
    fake->nameCalls = 0;
    EXPECT_EQ(expand("%%HL_FPS|%%HL_FPS|%%HL_FPS"), "72,5|72,5|72,5");
    EXPECT_EQ(fake->frameRateCalls, 1) << "one call for every occurrence";
    EXPECT_EQ(fake->nameCalls, 0) << "no token, no call";

    // The name goes in first, so what it holds is expanded by the steps after it.
    const char name[] = "%%time";
    std::memcpy(fake->name, name, sizeof name);
    fake->nameLength = sizeof name - 1;
    EXPECT_EQ(expand("[%%HL_PlayerName]"), "[21:13:08]");
    EXPECT_EQ(expand("%%HL_Inconnu %%HL"), "%%HL_Inconnu %%HL");
}

TEST_F(GameLine, WithoutTheLibraryHalfLifeVariablesStayAsTyped) {
    startUp({QStringLiteral("/nulle/part/libhlinfo.so")});
    EXPECT_FALSE(flags.HLAvailable);
    EXPECT_EQ(expand("FPS %%HL_FPS %%time"), "FPS %%HL_FPS 21:13:08");

    fake->loadResult = 1; // installed, but the game's figures cannot be had
    startUp({kFakeLibrary});
    EXPECT_FALSE(flags.HLAvailable);
    EXPECT_EQ(expand("%%HL_PlayerName %%HL_FPS"), "%%HL_PlayerName %%HL_FPS");
    EXPECT_EQ(fake->indexCalls + fake->nameCalls + fake->frameRateCalls, 0);
}

TEST_F(GameLine, SetiFiguresReplaceTheirVariables) {
    seti.write("Work0/state.sah", "<state>\nncpus=1\ncpu=83472\nbest=2\nprog=0.523456\n</state>\n");
    seti.write("Todo/scmd_work_unit.1", "");
    seti.write("Todo/scmd_work_unit.2", "");
    seti.write("Todo/scmd_work_unit.3", "");
    seti.write("Done/scmd_work_unit.1", "");
    EXPECT_EQ(expand("%%seti_progress% %%seti_cache/%%seti_fini %%seti_cache"), "52% 3/1 3");
    EXPECT_EQ(expand("%%seti seul"), "%%seti seul");

    rep_seti = QFile::encodeName(seti.file("absent")) + '/';
    EXPECT_EQ(expand("%%seti_progress% %%seti_cache/%%seti_fini"), "0% 0/0")
        << "without the client the figures are 0";
}
