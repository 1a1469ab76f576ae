#include "profile/RecentProfiles.h"

#include "platform/IniFile.h"
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

TEST(RecentProfiles, FiveNewestFirst) {
    TempDir dir;
    const QString settings = dir.file("param.ini");
    ASSERT_TRUE(PushRecentProfile(settings, "/home/moi/a.tlcd"));
    const IniFile fresh = IniFile::load(settings);
    EXPECT_EQ(fresh.value("recent_profile", "1"), "/home/moi/a.tlcd");
    for (const char* key : {"2", "3", "4", "5"}) {
        EXPECT_EQ(fresh.value("recent_profile", key), QString()) << key;
    }
    EXPECT_EQ(dir.read("param.ini").count('['), 1);

    const QStringList later = {"/home/moi/b.tlcd", "/home/moi/b.tlcd", "C:\\Profils\\d.tlcd",
                               "e.tlcd", "/x/y\\f.tlcd"};
    for (const QString& path : later) {
        ASSERT_TRUE(PushRecentProfile(settings, path));
    }
    RecentProfiles recent;
    const QList<RecentEntry> entries = RecentProfile(recent, settings);
    EXPECT_EQ(names(entries), QStringList({"f.tlcd", "e.tlcd", "d.tlcd", "b.tlcd", "b.tlcd"}));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(entries[i - 1].path, later[5 - i]);
        EXPECT_EQ(recent.paths[i], later[5 - i]);
    }
}

TEST(RecentProfiles, GapsAreSkippedAndOtherSettingsKept) {
    TempDir dir;
    const QByteArray head = "[param]\r\nC=20\r\n; port\r\nCOM=1\r\n\r\n";
    const QString settings =
        dir.write("param.ini", head + "[Recent_Profile]\r\n1=/p/un.tlcd\r\n2=\r\n3=deux.tlcd\r\n");
    RecentProfiles recent;
    const QList<RecentEntry> entries = RecentProfile(recent, settings);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(std::tuple(entries[0].name, entries[0].path), std::tuple("un.tlcd", "/p/un.tlcd"));
    EXPECT_EQ(std::tuple(entries[1].name, entries[1].path), std::tuple("deux.tlcd", "deux.tlcd"));
    EXPECT_EQ(std::tuple(recent.paths[1], recent.paths[2], recent.paths[3]),
              std::tuple("/p/un.tlcd", "", "deux.tlcd"));

    ASSERT_TRUE(PushRecentProfile(settings, "/p/trois.tlcd"));
    const QByteArray after = dir.read("param.ini");
    EXPECT_TRUE(after.startsWith(head));
    EXPECT_EQ(after.count('\n'), after.count("\r\n"));
    EXPECT_EQ(names(RecentProfile(recent, settings)),
              QStringList({"trois.tlcd", "un.tlcd", "deux.tlcd"}));

    EXPECT_TRUE(RecentProfile(recent, dir.file("none.ini")).isEmpty());
    EXPECT_FALSE(PushRecentProfile(dir.file("missing/param.ini"), "/p/a.tlcd"));
}
