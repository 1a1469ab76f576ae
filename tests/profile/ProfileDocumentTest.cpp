#include "profile/ProfileDocument.h"

#include "profile/LoadProfile.h"
#include "support/FakeLog.h"
#include "support/ReadOnlyDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

QByteArray page(int n, const QByteArray& text, const QByteArray& next) {
    return "[page_" + QByteArray::number(n) + "]\r\nligne0=" + text +
           "\r\nligne1=\r\nligne2=\r\nligne3=\r\nscroll0=1\r\nscroll1=0\r\nscroll2=0\r\n"
           "scroll3=0\r\ntime=5\r\nnext=" +
           next + "\r\n";
}

using Chain = QList<std::pair<QByteArray, int>>; // each page's line 0 and next

struct Loaded {
    PageModel pages;
    ProfileParams params;
    FakeLog log;
    explicit Loaded(const QString& path) {
        EXPECT_TRUE(LoadProfile(path, {pages, params, log, [] {}}));
    }
};

} // namespace

// A profile written by hand, in Windows-1252 with CR LF, comments and keys of its own: a save
// changes the one line whose key changed, and a save without a change writes the same bytes.
TEST(ProfileDocument, SaveRewritesOnlyTheLinesOfChangedKeys) {
    const QByteArray handWritten = "; Mon profil \xE0 moi\r\n[param]\r\nnb_pages=2\r\nplein=#\r\n"
                                   "vide=-\r\nIp_Local_Ex=\r\ncouleur=bleu\r\n\r\n" +
                                   page(1, "\"  Caf\xE9\"", "2") + "\r\n[notes]\r\nk=v\r\n" +
                                   page(2, "Deux", "1");
    TempDir dir;
    ProfileDocument document = openProfileDocument(dir.write("main.tlcd", handWritten));
    ASSERT_EQ(document.pages.size(), 2);
    EXPECT_EQ(document.pages[0].lines[0], (EditedLine{"  Café", 1}));
    ASSERT_TRUE(saveProfileDocument(document));
    EXPECT_EQ(dir.read("main.tlcd"), handWritten);

    document.pages[1].lines[0].text = "Thé à la menthe";
    ASSERT_TRUE(saveProfileDocument(document));
    EXPECT_EQ(dir.read("main.tlcd"),
              QByteArray(handWritten).replace("ligne0=Deux", "ligne0=Th\xE9 \xE0 la menthe"));
}

// Deleting, moving and duplicating pages keeps the rotation on the same pages, and what the loader
// reads from the saved file is the edited table, without the sections of the pages gone.
TEST(ProfileDocument, PageOperationsKeepTheRotationThroughASaveAndALoad) {
    TempDir dir;
    const QString path =
        dir.write("p.tlcd", "[param]\r\nnb_pages=4\r\nplein=#\r\nvide=-\r\nIp_Local_Ex=\r\n" +
                                page(1, "A", "2") + page(2, "B", "3") + page(3, "C", "4") +
                                page(4, "D", "1"));
    ProfileDocument document = openProfileDocument(path);
    const auto chain = [&] {
        Chain rows;
        for (const EditedPage& p : document.pages) {
            rows.append({p.lines[0].text.toLatin1(), p.next});
        }
        return rows;
    };
    ASSERT_TRUE(deletePage(document, 1)); // B: A now leads to C, which took its number
    EXPECT_EQ(chain(), (Chain{{"A", 2}, {"C", 3}, {"D", 1}}));
    ASSERT_TRUE(movePage(document, 2, 0));
    EXPECT_EQ(chain(), (Chain{{"D", 2}, {"A", 3}, {"C", 1}}));
    ASSERT_TRUE(duplicatePage(document, 0));
    EXPECT_EQ(chain(), (Chain{{"D", 3}, {"D", 3}, {"A", 4}, {"C", 1}}));
    ASSERT_TRUE(deletePage(document, 3)); // the last page: nothing takes its place
    EXPECT_FALSE(deletePage(document, 3) || movePage(document, 0, 3));

    ASSERT_TRUE(saveProfileDocument(document));
    const Loaded loaded(path);
    Chain table;
    for (int p = 1; p <= 3; ++p) {
        table.append({loaded.pages.PageTable[p][0].Text, loaded.pages.PageTiming[p][kPageNext]});
    }
    EXPECT_EQ(table, (Chain{{"D", 3}, {"D", 3}, {"A", 0}}));
    EXPECT_FALSE(IniFile::load(path).hasSection("page_4"));

    while (addPage(document, 0)) {
    }
    EXPECT_EQ(std::tuple(document.pages.size(), document.pages[kLastPage - 3].next),
              std::tuple(kLastPage, kLastPage))
        << "the first D still leads to A";
}

// What the preview and the trial draw is what the panel would show once the profile is saved and
// loaded: quotes, blanks, characters the panel lacks, lines past what the loader reads. A file
// that cannot be written stays as it was.
TEST(ProfileDocument, RecordsAreWhatASaveThenALoadGivesAndAFailedSaveKeepsTheFile) {
    TempDir dir;
    ProfileDocument document = newProfileDocument();
    document.plein = " € ";
    document.pages[0].lines = {
        EditedLine{"  espacé ", 2}, {"'cité'", 4}, {QString(130, 'x'), 0}, {"ł\nfin", 3}};
    ASSERT_TRUE(saveProfileDocument(document, dir.file("neuf.tlcd")));
    const Loaded loaded(dir.file("neuf.tlcd"));
    const auto records = pageRecords(document.pages[0]);
    for (int l = 0; l < kLinesPerPage; ++l) {
        const LineRecord& a = records[l];
        const LineRecord& b = loaded.pages.PageTable[1][l];
        EXPECT_EQ(std::tuple(a.Text, a.ScrollMode, a.Length, a.Pending, a.Dynamic),
                  std::tuple(b.Text, b.ScrollMode, b.Length, b.Pending, b.Dynamic))
            << l;
    }
    EXPECT_EQ(profileParams(document).plein, loaded.params.plein);

    const QByteArray saved = dir.read("neuf.tlcd");
    const ReadOnlyDir readOnly(dir.path());
    ASSERT_TRUE(readOnly.made()) << "cannot make a read-only folder here";
    document.pages[0].time = 3;
    EXPECT_FALSE(saveProfileDocument(document));
    EXPECT_EQ(dir.read("neuf.tlcd"), saved);
    EXPECT_FALSE(saveProfileDocument(document = newProfileDocument())) << "no path to save to";
}
