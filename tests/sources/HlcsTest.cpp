#include "sources/hlcs.h"

#include "support/HlinfoFakeControl.h"
#include "support/QtPrinters.h"

#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString kFakeLibrary = QStringLiteral(HLINFO_FAKE_LIBRARY);
const QString kLoadOnlyLibrary = QStringLiteral(HLINFO_LOAD_ONLY_LIBRARY);
const QLocale kFrench(QLocale::French, QLocale::France);

// The test library loaded twice: once by the test, to steer it, and once the way start-up
// loads it. Both handles share the library and its answers.
class HalfLife : public ::testing::Test {
protected:
    void SetUp() override {
        fake = control.fake;
        ASSERT_NE(fake, nullptr) << "the test library is missing: " << qPrintable(kFakeLibrary);
    }

    bool load(const QByteArray& directory = "/jeux/Half-Life/") {
        return LoadInfoDllFrom(hl, {kFakeLibrary}, directory) == 0;
    }

    void setName(const QByteArray& name) {
        ASSERT_LT(name.size(), qsizetype(sizeof fake->name));
        std::memcpy(fake->name, name.constData(), name.size());
        fake->name[name.size()] = '\0';
        fake->nameLength = static_cast<int>(name.size());
    }

    HlinfoFakeControl control{kFakeLibrary};
    HlinfoFake* fake = nullptr;
    HalfLifeLibrary hl;
};

} // namespace

TEST_F(HalfLife, StartUpCallDecidesWhetherTheFiguresAreAvailable) {
    ASSERT_TRUE(load("/jeux/Half-Life/"));
    EXPECT_STREQ(fake->directory, "/jeux/Half-Life/");

    fake->loadResult = 3;
    EXPECT_EQ(LoadInfoDllFrom(hl, {kFakeLibrary}, "/jeux/"), 3);

    // Beside the executable comes first.
    const QStringList candidates = halfLifeLibraryCandidates(QFileInfo(kFakeLibrary).path());
    fake->loadResult = 0;
    EXPECT_EQ(LoadInfoDllFrom(hl, candidates, "/jeux/"), 0);
    EXPECT_EQ(hl.library->path(), candidates.first());
    EXPECT_EQ(LoadInfoDllFrom(hl, {"/nulle/part/libhlinfo.so", kFakeLibrary}, "/jeux/"), 0)
        << "the first candidate that loads";

    EXPECT_NE(LoadInfoDllFrom(hl, {QStringLiteral("/nulle/part/libhlinfo.so")}, "/jeux/"), 0);
    EXPECT_FALSE(hl.library);
    EXPECT_EQ(HLPlayerName(hl), "-PlayerName-") << "no library: the figures fall back";
    EXPECT_EQ(HLFrameRate(hl, kFrench), "0");
}

TEST_F(HalfLife, PlayerNameIsWhatTheLibraryWroteWithoutPaddingOrNuls) {
    ASSERT_TRUE(load());
    fake->localPlayerIndex = 7; // the fake refuses the name of any other player
    EXPECT_EQ(HLPlayerName(hl), "Abcd");

    setName(QByteArray("ab\0cd", 5));
    EXPECT_EQ(HLPlayerName(hl), "abcd");
    setName("Jos\xE9 le Hardi");
    EXPECT_EQ(HLPlayerName(hl), "Jos\xE9 le Hardi") << "the panel's characters pass unchanged";
    setName("Un nom bien trop long pour le tampon");
    EXPECT_EQ(HLPlayerName(hl), "Un nom bien trop long pou") << "cut at 25 characters";

    fake->nameInOwnText = true;
    setName("Zed");
    EXPECT_EQ(HLPlayerName(hl), "Zed");
    setName("Un nom bien trop long pour le tampon");
    EXPECT_EQ(HLPlayerName(hl), "Un nom bien trop long pou");

    fake->nameResult = 0;
    EXPECT_EQ(HLPlayerName(hl), "-PlayerName-");
}

TEST_F(HalfLife, FrameRateHasOneDecimalRoundedHalfToEven) {
    ASSERT_TRUE(load());
    const std::pair<float, const char*> french[] = {
        {12.25f, "12,2"}, {12.75f, "12,8"}, {59.94f, "59,9"},
        {60.0f, "60"},    {72.46f, "72,5"}, {1000.04f, "1000"},
    };
    for (const auto& [fps, shown] : french) {
        fake->frameRate = fps;
        EXPECT_EQ(HLFrameRate(hl, kFrench), shown) << fps;
    }
    fake->frameRate = 72.46f;
    EXPECT_EQ(HLFrameRate(hl, QLocale::c()), "72.5");
}

TEST(HalfLifeWithoutSomeFunctions, MissingFunctionsShowTheFallbacks) {
    HalfLifeLibrary hl;
    ASSERT_EQ(LoadInfoDllFrom(hl, {kLoadOnlyLibrary}, "/jeux/"), 0);
    EXPECT_EQ(HLPlayerName(hl), "-PlayerName-");
    for (const QByteArray& figure : {HLFrameRate(hl, kFrench), HLPlayersSize(hl), HLTeamsSize(hl),
                                     HLPlayerKill(hl), HLPlayerDeaths(hl)}) {
        EXPECT_EQ(figure, "0");
    }
}
