#include "render/GameGroups.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/hlinfo_fake.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <gtest/gtest.h>

TEST(HalfLifeGroup, FiguresOfTheLibraryTheStartUpCallLoaded) {
    // The test library, opened by the test to set its answers, and then by the start-up call,
    // which shares them.
    const QString fakeLibrary = QStringLiteral(HLINFO_FAKE_LIBRARY);
    const std::optional<SharedLibrary> control = SharedLibrary::open({fakeLibrary});
    ASSERT_TRUE(control) << "the test library is missing: " << qPrintable(fakeLibrary);
    HlinfoFake& fake = *static_cast<HlinfoFake*>(control->symbol("hlinfo_fake"));
    fake = HlinfoFake{};
    HalfLifeLibrary hl;
    auto expand = [&](QByteArray text) {
        HalfLifeGroup(text, hl, QLocale(QLocale::French, QLocale::France));
        return text;
    };
    const QByteArray all = "%%HL_PlayerName|%%HL_FPS|%%HL_PlayerKill/%%HL_PlayerDeaths|"
                           "%%HL_PlayersSize|%%HL_TeamsSize";

    // Beside the executable first, then on the library path; the first that loads is kept.
    const QStringList candidates = halfLifeLibraryCandidates(QFileInfo(fakeLibrary).path());
    EXPECT_EQ(LoadInfoDllFrom(hl, QStringList{"/nulle/part/libhlinfo.so"} + candidates, "/jeux/"),
              0);
    EXPECT_EQ(hl.library->path(), candidates.first());
    EXPECT_STREQ(fake.directory, "/jeux/");
    // The fake has neither name nor figures for any other player than the local one.
    fake = HlinfoFake{
        .localPlayerIndex = 3, .playersSize = 16, .teamsSize = 2, .kills = -1, .deaths = 4};
    EXPECT_EQ(expand(all + " %%HL_Inconnu %%HL"), "Abcd|0|-1/4|16|2 %%HL_Inconnu %%HL");

    // The name as the library writes it (null: the query fails), or points at in a text of its
    // own; the frame rate; what the line shows: 25 characters at most, one decimal, halves to even.
    const QByteArray longName = "Un nom bien trop long pour le tampon";
    const std::tuple<QByteArray, bool, float, QByteArray> cases[] = {
        {QByteArray("ab\0cd", 5), false, 12.25f, "abcd 12,2"},
        {longName, false, 12.75f, "Un nom bien trop long pou 12,8"},
        {"Zed", false, 59.94f, "Zed 59,9"},
        {"Zed", true, 60.0f, "Zed 60"},
        {longName, true, 1000.04f, "Un nom bien trop long pou 1000"},
        {QByteArray(), false, 72.46f, "-PlayerName- 72,5"},
    };
    for (const auto& [name, ownText, fps, shown] : cases) {
        std::memcpy(fake.name, name.constData(), name.size() + 1);
        fake.nameLength = name.isNull() ? -1 : int(name.size());
        fake.nameInOwnText = ownText;
        fake.frameRate = fps;
        EXPECT_EQ(expand("%%HL_PlayerName %%HL_FPS"), shown);
    }
    EXPECT_EQ(HLFrameRate(hl, QLocale::c()), "72.5");

    // A start-up call that fails; no library, or one without the figures' functions.
    fake.loadResult = 3;
    EXPECT_EQ(LoadInfoDllFrom(hl, {fakeLibrary}, "/jeux/"), 3);
    EXPECT_NE(LoadInfoDllFrom(hl, {QStringLiteral("/nulle/part/libhlinfo.so")}, "/jeux/"), 0);
    EXPECT_EQ(expand(all), "-PlayerName-|0|0/0|0|0");
    fake.loadResult = 0;
    ASSERT_EQ(LoadInfoDllFrom(hl, {QStringLiteral(HLINFO_LOAD_ONLY_LIBRARY)}, "/jeux/"), 0);
    EXPECT_EQ(expand(all), "-PlayerName-|0|0/0|0|0");
}

TEST(SetiGroup, ProgressIsTheFifthLineTimesHundredRoundedDownAndWorkUnitFilesCount) {
    TempDir dir;
    const QByteArray rep_seti = QFile::encodeName(dir.path()) + '/';
    auto seti = [&](QByteArray text, const QByteArray& state = {}) {
        if (!state.isNull()) {
            dir.write("Work0/state.sah", state);
        }
        SetiGroup(text, rep_seti);
        return text;
    };
    EXPECT_EQ(seti("%%seti seul %%seti_progress %%seti_cache/%%seti_fini"), "%%seti seul 0 0/0")
        << "no client";
    // 0.29 * 100 in binary falls just short of 29; the double nearest 9.9999999999999998 is 10.
    const std::pair<QByteArray, QByteArray> values[] = {{"0.523456", "52"},
                                                        {"1", "100"},
                                                        {"0.29", "29"},
                                                        {"0.5 et la suite", "50"},
                                                        {"  0.25", "25"},
                                                        {"2.5e-1", "25"},
                                                        {"-0.005", "-1"},
                                                        {"pas un nombre", "0"},
                                                        {"", "0"},
                                                        {"1e99999", "32767"},
                                                        {"9.9999999999999998", "999"},
                                                        {"-1.5e-3", "-1"},
                                                        {"1e-99999", "0"}};
    for (const auto& [value, shown] : values) {
        EXPECT_EQ(seti("%%seti_progress", "<state>\nncpus=1\ncpu=1\nbest=2\nprog=" + value + "\n"),
                  shown)
            << value.constData();
    }
    EXPECT_EQ(seti("%%seti_progress", "a\nb\nc\nprog=0.5"), "0") << "four lines only";
    EXPECT_EQ(seti("%%seti_progress", "a\r\nb\r\nc\r\nd\r\nprog=0.5\r\n"), "0") << "a CR ends it";
    EXPECT_EQ(seti("%%seti_progress", "a\nb\nc\nd\nprog=0.75\r\nx\n"), "75") << "even after it";

    // Every file of the work unit's name counts, whatever its extension, but no folder.
    for (const char* name : {"scmd_work_unit.sah", "scmd_work_unit.2", "scmd_work_unit.tar.gz",
                             "autre.sah", "scmd_work_unit", "SCMD_WORK_UNIT.3"}) {
        dir.write(QStringLiteral("Todo/") + name, "");
    }
    ASSERT_TRUE(QDir().mkpath(dir.file("Todo/scmd_work_unit.dossier")));
    ASSERT_TRUE(
        QFile::link(dir.file("Todo/scmd_work_unit.dossier"), dir.file("Todo/scmd_work_unit.lien")));
    dir.write("Done/scmd_work_unit.1", "");
    dir.write("Done/scmd_work_unit.2", "");
    EXPECT_EQ(seti("%%seti_cache/%%seti_fini %%seti_cache"), "3/2 3");
}
