#include "platform/IniFile.h"

#include "platform/USEINI.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString get(const QString& file, const QString& section, const QString& key) {
    return GetIni(section, key, "Err", file);
}
} // namespace

TEST(IniFile, ReadsKeysTheWayWindowsDoes) {
    TempDir dir;
    const QString f =
        dir.write("a.ini", "; [param]\n; nb_pages=9\n  [ Param ]  \n  Nb_Pages   =   3  \n"
                           "quoted=\"  two words \"\nsingle='x'\nlopsided=\"x'\nempty=\n"
                           ";hidden=1\nnb_pages=7\nnbsp=\tx\xC2\xA0\t\nlong=" +
                               QByteArray(200, 'z') + "\n[param]\nlater=1\n");
    EXPECT_EQ(get(f, "PARAM", "NB_PAGES"), "3");
    EXPECT_EQ(get(f, "param", "quoted"), "  two words ");
    EXPECT_EQ(get(f, "param", "single"), "x");
    EXPECT_EQ(get(f, "param", "lopsided"), "\"x'");
    EXPECT_EQ(get(f, "param", "empty"), "");
    EXPECT_EQ(get(f, "param", "nbsp"), QString("x") + QChar(0xA0)); // only blanks are dropped
    EXPECT_EQ(get(f, "param", "hidden"), "Err");
    EXPECT_EQ(get(f, "param", "later"), "Err"); // only the first [param] counts
    EXPECT_EQ(get(f, "param", "long"), QString(127, 'z'));
    EXPECT_EQ(get(f, "other", "nb_pages"), "Err");
    EXPECT_EQ(get(dir.file("none.ini"), "param", "nb_pages"), "Err");

    // A lone CR ends a line; a '[' line without its ']' opens no section, so the keys below it
    // stay in the section above; a NUL ends a value.
    EXPECT_EQ(get(dir.write("cr.ini", "[p]\rk=1\r[q]\rk=2"), "q", "k"), "2");
    const QString unclosed = dir.write("unclosed.ini", "[p]\n[q\nk=1\n");
    EXPECT_EQ(get(unclosed, "p", "k"), "1");
    EXPECT_EQ(get(unclosed, "q", "k"), "Err");
    EXPECT_EQ(get(dir.write("nul.ini", "[p]\nk=ab" + QByteArray(1, '\0') + "cd\n"), "p", "k"),
              "ab");
}

TEST(IniFile, WriteChangesOnlyTheKeyItTouches) {
    TempDir dir;
    const QString f = dir.write("a.ini", "; réglages\r\n[Param]\r\n  C = 20 ; colonnes\r\n"
                                         "unknown stuff\r\nCount=1\r\n[Other]\r\nCount=5\r\n\r\n");
    ASSERT_TRUE(PutIni("param", "COUNT", "2", f));
    ASSERT_TRUE(PutIni("PARAM", "added", "new", f));
    ASSERT_TRUE(PutIni("Third", "k", "v", f));
    EXPECT_EQ(dir.read("a.ini"), "; réglages\r\n[Param]\r\n  C = 20 ; colonnes\r\nunknown stuff\r\n"
                                 "Count=2\r\nadded=new\r\n[Other]\r\nCount=5\r\n\r\n"
                                 "[Third]\r\nk=v\r\n");

    ASSERT_TRUE(PutIni("s", "k", "v", dir.file("new.ini")));
    EXPECT_EQ(dir.read("new.ini"), "[s]\nk=v\n");

    const QByteArray nul = "[p]\rk=ab" + QByteArray(1, '\0') + "cd\r[q\n";
    const QString cr = dir.write("cr.ini", nul + "k=1\r\r[r]\rk=2");
    ASSERT_TRUE(PutIni("r", "k", "3", cr));
    ASSERT_TRUE(PutIni("q", "k", "4", cr));
    EXPECT_EQ(dir.read("cr.ini"), nul + "k=1\r\r[r]\rk=3\r\r[q]\rk=4\r");

    // The old file is replaced, not rewritten: a second link to it keeps the old text.
    ASSERT_EQ(::link(qPrintable(f), qPrintable(dir.file("old.ini"))), 0);
    ASSERT_TRUE(PutIni("Third", "k", "w", f));
    EXPECT_TRUE(dir.read("a.ini").endsWith("k=w\r\n"));
    EXPECT_TRUE(dir.read("old.ini").endsWith("k=v\r\n"));
    EXPECT_FALSE(PutIni("p", "k", "3", dir.file("missing/a.ini")));
}

TEST(IniFile, WriteKeepsTheEncodingOfTheFile) {
    TempDir dir;
    const QString ansi = dir.write("ansi.ini", "[p]\ntitre=Caf\xE9\n");
    EXPECT_EQ(get(ansi, "p", "titre"), "Café");
    ASSERT_TRUE(PutIni("p", "deg", "°", ansi));
    EXPECT_EQ(dir.read("ansi.ini"), "[p]\ntitre=Caf\xE9\ndeg=\xB0\n");

    const QString bom = dir.write("bom.ini", "\xEF\xBB\xBF[p]\ntitre=Café\n");
    EXPECT_EQ(get(bom, "p", "titre"), "Café");
    ASSERT_TRUE(PutIni("p", "deg", "°", bom));
    EXPECT_EQ(dir.read("bom.ini"), "\xEF\xBB\xBF[p]\ntitre=Café\ndeg=°\n");

    // Windows-1252 text whose last byte looks like the start of a UTF-8 sequence.
    EXPECT_EQ(get(dir.write("cut.ini", "[p]\nk=\xC3"), "p", "k"), "Ã");

    ASSERT_TRUE(PutIni("p", "deg", "°", dir.file("new.ini")));
    EXPECT_EQ(dir.read("new.ini"), "[p]\ndeg=°\n");
}

TEST(IniFile, AWriteLeavesWindows1252TextReadingTheSame) {
    TempDir dir;
    // Windows-1252 only for its lone \xE9: once that value is replaced, the bytes of "Ã©" on
    // the next line would be valid UTF-8.
    const QString f = dir.write("a.ini", "[p]\nk=caf\xE9\nnom=\xC3\xA9t\xC3\xA9\n");
    EXPECT_EQ(get(f, "p", "nom"), "Ã©tÃ©");
    ASSERT_TRUE(PutIni("p", "k", "the", f));
    EXPECT_EQ(get(f, "p", "k"), "the");
    EXPECT_EQ(get(f, "p", "nom"), "Ã©tÃ©");
}

TEST(IniFile, ParseInt16AcceptsOnlyDecimalsInRange) {
    EXPECT_EQ(parseInt16("32767"), 32767);
    EXPECT_EQ(parseInt16("-32768"), -32768);
    EXPECT_EQ(parseInt16("+5"), 5);
    for (const char* bad : {"Err", "", "abc", "12.5", "40000", "-32769", "0x10", "1,000"}) {
        EXPECT_FALSE(parseInt16(bad).has_value()) << bad;
    }
}

// A writer killed at any moment leaves the old settings or the new ones, never a mixture.
TEST(IniFile, AWriterKilledMidWriteLeavesOneWholeVersion) {
    TempDir dir;
    auto version = [](char mark) {
        IniFile ini;
        for (int i = 0; i < 4000; ++i) {
            ini.setValue(QStringLiteral("recent_profile"), QString::number(i),
                         QStringLiteral("/home/moi/profils/%1/page%2.tlcd").arg(mark).arg(i));
        }
        return ini;
    };
    const IniFile first = version('a');
    const IniFile second = version('b');
    ASSERT_TRUE(first.save(dir.file("a.ini")));
    ASSERT_TRUE(second.save(dir.file("b.ini")));
    const QByteArray whole[] = {dir.read("a.ini"), dir.read("b.ini")};
    const QString target = dir.file("param.ini");
    ASSERT_TRUE(first.save(target));

    // The writer says when it starts and when it ends each write; the kill comes right after a
    // start, so it falls inside that write, which the last word heard from it confirms.
    int killedWhileWriting = 0;
    for (int round = 0; round < 20; ++round) {
        int said[2];
        ASSERT_EQ(::pipe(said), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(said[0]);
            for (int n = 0;; ++n) {
                if (::write(said[1], "s", 1) != 1) {
                    ::_exit(1);
                }
                (n % 2 ? first : second).save(target);
                if (::write(said[1], "e", 1) != 1) {
                    ::_exit(1);
                }
            }
        }
        ::close(said[1]);
        char word = 0;
        for (int ends = 0; ends <= round % 3 || word != 's';) {
            ASSERT_EQ(::read(said[0], &word, 1), 1);
            ends += word == 'e';
        }
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        while (::read(said[0], &word, 1) == 1) {
        }
        ::close(said[0]);
        killedWhileWriting += word == 's';
        const QByteArray left = dir.read("param.ini");
        ASSERT_TRUE(left == whole[0] || left == whole[1])
            << "round " << round << ": " << left.size() << " bytes";
    }
    EXPECT_GE(killedWhileWriting, 10) << "the kills must fall inside writes to prove anything";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "and leave nothing behind";
}
