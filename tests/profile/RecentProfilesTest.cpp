#include "profile/RecentProfiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
QStringList names(const QList<RecentEntry>& entries) {
    QStringList out;
    for (const RecentEntry& e : entries) {
        out.append(e.name);
    }
    return out;
}
} // namespace

TEST(RecentProfiles, KeepsTheFiveNewestFirstAndEverythingElseInTheSettingsFile) {
    TempDir dir;
    const QByteArray head = "[param]\r\nC=20\r\n; port\r\nCOM=1\r\n\r\n";
    const QString settings =
        dir.write("param.ini", head + "[Recent_Profile]\r\n1=/p/un.tlcd\r\n2=\r\n3=deux.tlcd\r\n");
    RecentProfiles recent;
    EXPECT_EQ(names(RecentProfile(recent, settings)), QStringList({"un.tlcd", "deux.tlcd"}));
    EXPECT_EQ(recent.paths[3], "deux.tlcd") << "a gap is skipped, not closed";

    const QStringList paths = {"/home/moi/b.tlcd", "/home/moi/b.tlcd", "C:\\Profils\\d.tlcd",
                               "e.tlcd", "/x/y\\f.tlcd"};
    for (const QString& path : paths) {
        ASSERT_TRUE(PushRecentProfile(settings, path));
    }
    const QList<RecentEntry> entries = RecentProfile(recent, settings);
    EXPECT_EQ(names(entries), QStringList({"f.tlcd", "e.tlcd", "d.tlcd", "b.tlcd", "b.tlcd"}));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(entries[i - 1].path, paths[5 - i]);
        EXPECT_EQ(recent.paths[i], paths[5 - i]);
    }
    const QByteArray after = dir.read("param.ini");
    EXPECT_TRUE(after.startsWith(head));
    EXPECT_EQ(after.count('\n'), after.count("\r\n"));
    EXPECT_EQ(after.count('['), 2);

    EXPECT_TRUE(RecentProfile(recent, dir.file("none.ini")).isEmpty());
    EXPECT_FALSE(PushRecentProfile(dir.file("missing/param.ini"), "/p/a.tlcd"));
}
