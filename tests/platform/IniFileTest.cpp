#include "platform/USEINI.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
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

TEST(IniFile, ParseInt16AcceptsOnlyDecimalsInRange) {
    EXPECT_EQ(parseInt16("32767"), 32767);
    EXPECT_EQ(parseInt16("-32768"), -32768);
    EXPECT_EQ(parseInt16("+5"), 5);
    for (const char* bad : {"Err", "", "abc", "12.5", "40000", "-32769", "0x10", "1,000"}) {
        EXPECT_FALSE(parseInt16(bad).has_value()) << bad;
    }
}
