#include "render/GameGroups.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/hlinfo_fake.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString kFakeLibrary = QStringLiteral(HLINFO_FAKE_LIBRARY);
const QLocale kFrench(QLocale::French, QLocale::France);
const QByteArray kAllHalfLife = "%%HL_PlayerName|%%HL_FPS|%%HL_PlayerKill/%%HL_PlayerDeaths|"
                                "%%HL_PlayersSize|%%HL_TeamsSize";

// The test library, opened by the test to set its answers and then by the start-up call, which
// shares them.
struct HalfLife : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(control) << "the test library is missing: " << qPrintable(kFakeLibrary);
        fake = static_cast<HlinfoFake*>(control->symbol("hlinfo_fake"));
        *fake = HlinfoFake{};
    }
    QByteArray expand(QByteArray text) const {
        HalfLifeGroup(text, hl, kFrench);
        return text;
    }
    std::optional<SharedLibrary> control = SharedLibrary::open({kFakeLibrary});
    HlinfoFake* fake = nullptr;
    HalfLifeLibrary hl;
};

QByteArray seti(QByteArray text, const QByteArray& rep_seti) {
    SetiGroup(text, rep_seti);
    return text;
}

} // namespace

TEST_F(HalfLife, StartUpCallDecidesWhetherTheFiguresAreAvailable) {
    // Beside the executable first, then on the library path; the first that loads is kept.
    const QStringList candidates = halfLifeLibraryCandidates(QFileInfo(kFakeLibrary).path());
    EXPECT_EQ(LoadInfoDllFrom(hl, QStringList{"/nulle/part/libhlinfo.so"} + candidates, "/jeux/"),
              0);
    EXPECT_EQ(hl.library->path(), candidates.first());
    EXPECT_STREQ(fake->directory, "/jeux/");
    fake->loadResult = 3;
    EXPECT_EQ(LoadInfoDllFrom(hl, {kFakeLibrary}, "/jeux/"), 3);

    // No library, or one without the figures' functions: the texts of a failed query.
    EXPECT_NE(LoadInfoDllFrom(hl, {QStringLiteral("/nulle/part/libhlinfo.so")}, "/jeux/"), 0);
    EXPECT_EQ(expand(kAllHalfLife), "-PlayerName-|0|0/0|0|0");
    fake->loadResult = 0;
    ASSERT_EQ(LoadInfoDllFrom(hl, {QStringLiteral(HLINFO_LOAD_ONLY_LIBRARY)}, "/jeux/"), 0);
    EXPECT_EQ(expand(kAllHalfLife), "-PlayerName-|0|0/0|0|0");
}

TEST_F(HalfLife, FiguresReplaceTheirVariables) {
    ASSERT_EQ(LoadInfoDllFrom(hl, {kFakeLibrary}, "/jeux/"), 0);
    fake->localPlayerIndex = 3; // the fake has neither name nor figures for any other player
    fake->kills = -1;
    fake->deaths = 4;
    fake->playersSize = 16;
    fake->teamsSize = 2;
    EXPECT_EQ(expand(kAllHalfLife + " %%HL_Inconnu %%HL"), "Abcd|0|-1/4|16|2 %%HL_Inconnu %%HL");

    struct Case {
        QByteArray name; // as the library writes it; negative length: the query fails
        bool ownText;    // the library points at a text of its own instead
        float fps;
        QByteArray shown; // at most 25 characters; one decimal, halves to even
    };
    const QByteArray longName = "Un nom bien trop long pour le tampon";
    const Case cases[] = {
        {QByteArray("ab\0cd", 5), false, 12.25f, "abcd 12,2"},
        {"Jos\xE9 le Hardi", false, 12.75f, "Jos\xE9 le Hardi 12,8"},
        {longName, false, 59.94f, "Un nom bien trop long pou 59,9"},
        {"Zed", true, 60.0f, "Zed 60"},
        {longName, true, 1000.04f, "Un nom bien trop long pou 1000"},
        {QByteArray(), false, 72.46f, "-PlayerName- 72,5"},
    };
    for (const Case& c : cases) {
        std::memcpy(fake->name, c.name.constData(), c.name.size() + 1);
        fake->nameLength = c.name.isNull() ? -1 : int(c.name.size());
        fake->nameInOwnText = c.ownText;
        fake->frameRate = c.fps;
        EXPECT_EQ(expand("%%HL_PlayerName %%HL_FPS"), c.shown);
    }
    EXPECT_EQ(HLFrameRate(hl, QLocale::c()), "72.5");
}

TEST(SetiGroup, ProgressIsTheFifthLineAfterItsKeyTimesHundredRoundedDown) {
    const QByteArray head = "<state>\nncpus=1\ncpu=83472\nbest=2\n";
    const std::pair<QByteArray, QByteArray> cases[] = {
        {head + "prog=0.523456\n</state>\n", "52"},
        {head + "prog=1", "100"},
        {head + "prog=0.29", "29"}, // 0.29 * 100 in binary falls just short of 29
        {head + "prog=0.5 et la suite", "50"},
        {head + "prog=  0.25", "25"},
        {head + "prog=2.5e-1", "25"},
        {head + "prog=-0.005", "-1"},
        {head + "prog=pas un nombre", "0"},
        {head + "prog=1e99999", "32767"},
        {"a\nb\nc\nprog=0.5", "0"},                 // four lines only
        {"a\r\nb\r\nc\r\nd\r\nprog=0.5\r\n", "0"},  // with CR LF only one line is read
        {"a\nb\nc\nd\nprog=0.75\r\nsuite\n", "75"}, // a CR after the fifth line is no matter
    };
    TempDir dir;
    const QByteArray rep_seti = QFile::encodeName(dir.path()) + '/';
    for (const auto& [state, shown] : cases) {
        dir.write("Work0/state.sah", state);
        EXPECT_EQ(seti("%%seti_progress", rep_seti), shown) << state.constData();
    }
    QFile::remove(dir.file("Work0/state.sah"));
    ASSERT_TRUE(QDir().mkpath(dir.file("Work0/state.sah")));
    EXPECT_EQ(seti("%%seti_progress", rep_seti), "0") << "a folder named like the file";
    EXPECT_EQ(seti("%%seti seul %%seti_progress", rep_seti + "absent/"), "%%seti seul 0");
}

TEST(SetiGroup, EveryWorkUnitFileCountsWhateverItsExtensionButFoldersDoNot) {
    TempDir dir;
    const QByteArray rep_seti = QFile::encodeName(dir.path()) + '/';
    EXPECT_EQ(seti("%%seti_cache/%%seti_fini", rep_seti), "0/0") << "no folders";

    for (const char* name : {"scmd_work_unit.sah", "scmd_work_unit.2", "scmd_work_unit.tar.gz",
                             "autre.sah", "scmd_work_unit", "SCMD_WORK_UNIT.3"}) {
        dir.write(QStringLiteral("Todo/") + name, "");
    }
    ASSERT_TRUE(QFile::setPermissions(dir.file("Todo/scmd_work_unit.2"), QFile::ReadOwner));
    ASSERT_TRUE(QDir().mkpath(dir.file("Todo/scmd_work_unit.dossier")));
    ASSERT_TRUE(
        QFile::link(dir.file("Todo/scmd_work_unit.dossier"), dir.file("Todo/scmd_work_unit.lien")));
    dir.write("Done/scmd_work_unit.1", "");
    dir.write("Done/scmd_work_unit.2", "");
    EXPECT_EQ(seti("%%seti_cache/%%seti_fini %%seti_cache", rep_seti), "3/2 3");

    // The names follow the setting as they are: after a prefix, or in the working directory for an
    // empty setting.
    dir.write("client_Work0/state.sah", "a\nb\nc\nd\nprog=0.4\n");
    EXPECT_EQ(seti("%%seti_progress %%seti_cache", rep_seti + "client_"), "40 0");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QByteArray here = seti("%%seti_cache/%%seti_fini", "");
    QDir::setCurrent(previous);
    EXPECT_EQ(here, "3/2");
}
