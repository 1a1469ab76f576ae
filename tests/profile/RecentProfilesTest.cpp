#include "profile/RecentProfiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(RecentProfiles, KeepsTheFiveNewestFirstShownByTheirFileNames) {
    TempDir dir;
    const QString settings = dir.file("param.ini");
    const QStringList paths = {"/home/moi/a.tlcd",    "/home/moi/b.tlcd", "/home/moi/b.tlcd",
                               "C:\\Profils\\d.tlcd", "e.tlcd",           "/x/y\\f.tlcd"};
    for (const QString& path : paths) {
        ASSERT_TRUE(PushRecentProfile(settings, path));
    }
    RecentProfiles recent;
    const QList<RecentEntry> entries = RecentProfile(recent, settings);
    ASSERT_EQ(entries.size(), 5);
    const QStringList names = {"f.tlcd", "e.tlcd", "d.tlcd", "b.tlcd", "b.tlcd"};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(std::tuple(entries[i - 1].name, entries[i - 1].path, recent.paths[i]),
                  std::tuple(names[i - 1], paths[6 - i], paths[6 - i]));
    }
}
