#include "profile/LoadProfile.h"

#include "support/FakeLog.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QString kSep = QString(49, '-');
const QString kHeader = QStringLiteral("Chargement du fichier de commande -> ");

struct Target {
    PageModel pages;
    ProfileParams params{"v", "p", "10."};
    FakeLog log;
    QList<qsizetype> firstPageAt; // log size at each call

    LoadOutcome load(const QString& path) {
        return LoadProfile(path,
                           {pages, params, log, [this] { firstPageAt.append(log.lines.size()); }});
    }
    // What the loader had to say besides the usual lines.
    QString remarks() const {
        QStringList out = log.lines;
        out.removeIf([](const QString& l) {
            return l == kSep || l.startsWith(kHeader) || l.startsWith("Page ") ||
                   l.startsWith("Ligne ");
        });
        return out.join('\n');
    }
};

// Page n with texts "p<n>l<line>", all lines in scroll mode 1.
QByteArray page(int n, const QByteArray& time = "5", const QByteArray& next = "0") {
    const QByteArray p = QByteArray::number(n);
    QByteArray s = "[page_" + p + "]\ntime=" + time + "\nnext=" + next + "\n";
    for (const QByteArray l : {"0", "1", "2", "3"}) {
        s += "ligne" + l + "=p" + p + "l" + l + "\nscroll" + l + "=1\n";
    }
    return s;
}

} // namespace

TEST(LoadProfile, OnePageIsLoggedLineByLine) {
    TempDir dir;
    const QString path = dir.write("demo.tlcd", "[param]\nnb_pages=1\nvide=\" \"\nplein=#\n"
                                                "[page_1]\nligne0=%%time\nscroll0=0\n"
                                                "ligne1=CPU %%cpu°C\nscroll1=2\n"
                                                "ligne2=\" centré \"\nscroll2=1\n"
                                                "scroll3=4\ntime=10\nnext=1\n");
    Target t;
    ASSERT_TRUE(t.load(path));
    EXPECT_EQ(t.log.lines,
              QStringList({kSep, kHeader + path, kSep, "Page 1-->", "Ligne 0=%%time / 0",
                           "Ligne 1=CPU %%cpu°C / 2", "Ligne 2= centré  / 1", "Ligne 3=Err / 4",
                           kSep, kHeader + "OK", kSep}));
    EXPECT_EQ(t.firstPageAt, QList<qsizetype>({8}));

    EXPECT_EQ(t.pages.PageTable[1][1].Text, "CPU %%cpu\260C"); // in the panel's character set
    const LineRecord& r = t.pages.PageTable[1][2];             // ready to be shown from its start
    EXPECT_EQ(std::tuple(r.Text, r.Length, r.ScrollMode, r.ScrollPos, r.Pending, r.Dynamic),
              std::tuple(" centr\351 ", 8, 1, 0, 1, 1));
    EXPECT_EQ(t.params.vide + '|' + t.params.plein + '|' + t.params.Ip_Local_Ex, " |#|Err");
}

TEST(LoadProfile, AFileThatIsNoProfileIsRefusedAndChangesNothing) {
    TempDir dir;
    dir.write("empty.tlcd", "");
    dir.write("nocount.tlcd", "[param]\nvide=_\n" + page(1));
    dir.write("text.tlcd", "[param]\nnb_pages=deux\nvide=_\n" + page(1));
    QDir(dir.path()).mkdir("folder.tlcd");
    // Each refusal says why in the user's terms, never with the reader's own default.
    for (const auto& [name, why] : {std::pair{"missing.tlcd", "introuvable"},
                                    {"empty.tlcd", "pas de section [param]"},
                                    {"nocount.tlcd", "pas de clé nb_pages"},
                                    {"text.tlcd", "« deux »"},
                                    {"folder.tlcd", "dossier"}}) {
        SCOPED_TRACE(name);
        Target t;
        t.pages.PageTable[1][0] = freshLine("avant", 2);
        const LoadOutcome outcome = t.load(dir.file(name));
        EXPECT_TRUE(!outcome && outcome.refusal.contains(QString::fromUtf8(why)));
        EXPECT_TRUE(t.firstPageAt.isEmpty());
        EXPECT_EQ(t.pages.PageTable[1][0].Text + '|' + t.params.vide + '|' + t.params.plein + '|' +
                      t.params.Ip_Local_Ex,
                  "avant|v|p|10.");
        EXPECT_TRUE(t.remarks().contains(QString::fromUtf8(why))) << t.remarks().toStdString();
        EXPECT_EQ(t.log.lines.mid(t.log.lines.size() - 3),
                  QStringList({kSep, kHeader + "ANNULÉ", kSep}));
    }
}

TEST(LoadProfile, ValuesItCannotUseAreReplacedAndToldInTheUsersTerms) {
    TempDir dir;
    QByteArray pages =
        page(1, "40", "51") + page(2, "-5", "fin") + page(3, "vite", "-1") + page(4, "32", "50");
    pages.replace("scroll0=1\nligne1=p1l1", "scroll0=zz\nligne1=p1l1")
        .replace("ligne2=p4l2\nscroll2=1\n", "ligne2=p4l2\n");
    for (int n = 5; n <= 51; ++n) {
        pages += page(n);
    }
    Target t;
    for (const auto& [count, read] : {std::pair{"-3", 0}, {"0", 0}, {"60", 50}}) {
        SCOPED_TRACE(count);
        t.log.lines.clear();
        t.pages.PageTable[50][3].Text = "avant";
        ASSERT_TRUE(
            t.load(dir.write("p.tlcd", "[param]\nnb_pages=" + QByteArray(count) + "\n" + pages)));
        EXPECT_EQ(t.log.lines.filter("-->").size(), read);
        EXPECT_EQ(t.pages.PageTable[50][3].Text, read ? "p50l3" : "avant") << "only the pages read";
        EXPECT_EQ(t.remarks().startsWith(QString("nb_pages = ") + count), count != QString("0"));
    }
    EXPECT_EQ(QList(t.pages.PageTiming.begin() + 1, t.pages.PageTiming.begin() + 5),
              (QList<std::array<qint16, 2>>{{32, 0}, {0, 0}, {0, 0}, {32, 50}}));
    EXPECT_EQ(t.pages.PageTable[1][0].ScrollMode, 0);
    for (const char* value : {"zz", "40", "51", "-5", "fin", "-1"}) {
        EXPECT_TRUE(t.remarks().contains(value)) << value;
    }
    EXPECT_TRUE(t.remarks().contains("scroll2 de la page 4 manque")) << "not quoted as « Err »";
    EXPECT_FALSE(t.remarks().contains("Err"));

    // A count beyond the pages written: one line for each page missing, read as missing keys.
    t.log.lines.clear();
    t.pages.PageTable[3][0] = freshLine("avant", 2);
    ASSERT_TRUE(t.load(dir.write("p.tlcd", "[param]\nnb_pages=80\n" + page(1) + page(2))));
    EXPECT_TRUE(t.remarks().startsWith("nb_pages = 80 hors de 0 à 50 : 50 page(s) lue(s)"));
    EXPECT_EQ(std::tuple(t.log.lines.filter("manque").size(), t.log.lines.filter("absente").size(),
                         t.pages.PageTable[3][0].Text, t.pages.PageTiming[3][kPageNext]),
              std::tuple(0, 48, "Err", 0));
    EXPECT_TRUE(t.log.lines.contains("Page 50 : section [page_50] absente, ses lignes affichent "
                                     "Err, time et next valent 0"));
    EXPECT_EQ(std::tuple(t.log.lines.count("Ligne 0=Err / 0"), t.log.lines.count("Ligne 3=Err / 0"),
                         t.log.lines.count("Page 3-->")),
              std::tuple(48, 48, 1));
}
