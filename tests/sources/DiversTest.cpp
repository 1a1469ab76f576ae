#include "sources/divers.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A SETI@home folder made for the test; rep() is the setting that names it.
struct SetiFolder : TempDir {
    QByteArray rep() const { return QFile::encodeName(path()) + '/'; }
};

} // namespace

TEST(SetiProgress, FifthLineAfterItsKeyTimesHundredRoundedDown) {
    SetiFolder seti;
    const std::pair<QByteArray, qint16> cases[] = {
        {"prog=0.523456", 52},
        {"prog=1", 100},
        {"prog=0.999999", 99},
        {"prog=0.29", 29}, // 0.29 * 100 in binary falls just short of 29
        {"prog=0.5 et la suite", 50},
        {"prog=  0.25", 25},
        {"prog=2.5e-1", 25},
        {"prog=-0.005", -1},
        {"prog=pas un nombre", 0},
        {"prog=", 0},
        {"prog=1e9", 32767},
        {"prog=1e99999", 32767},
    };
    for (const auto& [line, percent] : cases) {
        seti.write("Work0/state.sah",
                   "<state>\nncpus=1\ncpu=83472\nbest=2\n" + line + "\n</state>\n");
        EXPECT_EQ(SetiProgress(seti.rep()), percent) << line.constData();
    }
}

TEST(SetiProgress, WithoutAUsableStateFileTheProgressIsZero) {
    SetiFolder seti;
    EXPECT_EQ(SetiProgress(seti.rep()), 0) << "no state file";
    EXPECT_EQ(SetiProgress(seti.rep() + "absent/"), 0) << "no folder";

    seti.write("Work0/state.sah", "a\nb\nc\nprog=0.5");
    EXPECT_EQ(SetiProgress(seti.rep()), 0) << "four lines only";
    // With CR LF line ends only the first line is read.
    seti.write("Work0/state.sah", "a\r\nb\r\nc\r\nd\r\nprog=0.5\r\n");
    EXPECT_EQ(SetiProgress(seti.rep()), 0);
    seti.write("Work0/state.sah", "a\nb\nc\nd\nprog=0.75\r\nsuite\n");
    EXPECT_EQ(SetiProgress(seti.rep()), 75) << "a CR after the fifth line ends nothing needed";

    SetiFolder folderNamedLikeTheFile;
    ASSERT_TRUE(QDir().mkpath(folderNamedLikeTheFile.file("Work0/state.sah")));
    EXPECT_EQ(SetiProgress(folderNamedLikeTheFile.rep()), 0);
}

TEST(SetiProgress, FileNamesAreAppendedToTheSettingAsTheyAre) {
    SetiFolder seti;
    seti.write("client_Work0/state.sah", "a\nb\nc\nd\nprog=0.4\n");
    EXPECT_EQ(SetiProgress(seti.rep() + "client_"), 40);
    seti.write(".seti/Todo/scmd_work_unit.1", "");
    EXPECT_EQ(SetiCacheCount(seti.rep() + ".seti/"), 1) << "a hidden folder is read as any other";

    // An empty setting leaves the names alone: they are read in the working directory.
    seti.write("Work0/state.sah", "a\nb\nc\nd\nprog=0.4\n");
    seti.write("Todo/scmd_work_unit.1", "");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(seti.file(".")));
    const qint16 progress = SetiProgress("");
    const qint16 waiting = SetiCacheCount("");
    QDir::setCurrent(previous);
    EXPECT_EQ(progress, 40);
    EXPECT_EQ(waiting, 1);
}

TEST(SetiCounts, EveryWorkUnitFileCountsWhateverItsExtensionButFoldersDoNot) {
    SetiFolder seti;
    EXPECT_EQ(SetiCacheCount(seti.rep()), 0) << "no Todo folder";
    EXPECT_EQ(SetiDoneCount(seti.rep()), 0) << "no Done folder";

    seti.write("Todo/scmd_work_unit.sah", "unité");
    seti.write("Todo/scmd_work_unit.2", "");
    seti.write("Todo/scmd_work_unit.tar.gz", "");
    ASSERT_TRUE(QFile::setPermissions(seti.file("Todo/scmd_work_unit.2"), QFile::ReadOwner));
    seti.write("Todo/autre.sah", "");
    seti.write("Todo/scmd_work_unit", "");
    seti.write("Todo/SCMD_WORK_UNIT.3", "");
    ASSERT_TRUE(QDir().mkpath(seti.file("Todo/scmd_work_unit.dossier")));
    ASSERT_TRUE(QFile::link(seti.file("Todo/scmd_work_unit.dossier"),
                            seti.file("Todo/scmd_work_unit.lien")));
    EXPECT_EQ(SetiCacheCount(seti.rep()), 3);

    seti.write("Done/scmd_work_unit.1", "");
    seti.write("Done/scmd_work_unit.2", "");
    EXPECT_EQ(SetiDoneCount(seti.rep()), 2);
    EXPECT_EQ(SetiCacheCount(seti.rep()), 3);
}
