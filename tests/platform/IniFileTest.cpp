#include "platform/IniFile.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(IniFile, ReadsKeysTheWayWindowsDoes) {
    const QByteArray param = "; [param]\n; nb_pages=9\n  [ Param ]  \n  Nb_Pages   =   3  \n"
                             "quoted=\"  two words \"\nsingle='x'\nlopsided=\"x'\nempty=\n"
                             ";hidden=1\nnb_pages=7\nnbsp=\tx\xC2\xA0\t\nlong=" +
                             QByteArray(200, 'z') + "\n[param]\nlater=1\n";
    const QByteArray unclosed = "[p]\n[q\nk=1\n";
    // file, section, key, value ("Err": the key is not found)
    const std::tuple<QByteArray, const char*, const char*, QString> cases[] = {
        {param, "PARAM", "NB_PAGES", "3"}, // the first one, whatever the case and the blanks
        {param, "param", "quoted", "  two words "},
        {param, "param", "single", "x"},
        {param, "param", "lopsided", "\"x'"},
        {param, "param", "empty", ""},
        {param, "param", "nbsp", QString("x") + QChar(0xA0)}, // only blanks are dropped
        {param, "param", "hidden", "Err"},
        {param, "param", "later", "Err"},            // only the first [param] counts
        {param, "param", "long", QString(127, 'z')}, // as through a 128-character buffer
        {param, "other", "nb_pages", "Err"},
        {"[p]\rk=1\r[q]\rk=2", "q", "k", "2"}, // a lone CR ends a line
        {unclosed, "p", "k", "1"},             // a '[' line without its ']' opens no section
        {unclosed, "q", "k", "Err"},
        {"[p]\nk=ab" + QByteArray(1, '\0') + "cd\n", "p", "k", "ab"},
        {"[p]\ntitre=Caf\xE9\n", "p", "titre", "Café"}, // Windows-1252
        {"\xEF\xBB\xBF[p]\ntitre=Café\n", "p", "titre", "Café"},
        {"[p]\nk=\xC3", "p", "k", "Ã"}, // Windows-1252 that ends like the start of UTF-8
    };
    TempDir dir;
    for (const auto& [file, section, key, value] : cases) {
        EXPECT_EQ(GetIni(section, key, "Err", dir.write("a.ini", file)), value)
            << file.constData() << " [" << section << "] " << key;
    }
    EXPECT_EQ(GetIni("param", "nb_pages", "Err", dir.file("none.ini")), "Err");
}

TEST(IniFile, WriteChangesOnlyTheKeyItTouchesAndKeepsTheEncoding) {
    const QByteArray crlf = "; réglages\r\n[Param]\r\n  C = 20 ; colonnes\r\nunknown stuff\r\n"
                            "Count=1\r\n[Other]\r\nCount=5\r\n\r\n";
    const QByteArray cr = "[p]\rk=ab" + QByteArray(1, '\0') + "cd\r[q\nk=1\r\r[r]\rk=2";
    // before (null: no file yet), section, key, value, after
    const std::tuple<QByteArray, const char*, const char*, const char*, QByteArray> cases[] = {
        {crlf, "param", "COUNT", "2", QByteArray(crlf).replace("Count=1", "Count=2")},
        {crlf, "PARAM", "added", "new", QByteArray(crlf).replace("=1\r\n", "=1\r\nadded=new\r\n")},
        {crlf, "Third", "k", "v", crlf + "[Third]\r\nk=v\r\n"},
        {cr, "r", "k", "3", QByteArray(cr).replace("k=2", "k=3\r")},
        {cr, "q", "k", "4", cr + "\r\r[q]\rk=4\r"},
        {"[p]\nk=1\r", "p", "k", "2", "[p]\nk=2\r"}, // a CR at the very end is no CR LF
        {{}, "p", "deg", "°", "[p]\ndeg=°\n"},       // a new file is UTF-8
        {"[p]\ntitre=Caf\xE9\n", "p", "deg", "°", "[p]\ntitre=Caf\xE9\ndeg=\xB0\n"},
        {"\xEF\xBB\xBF[p]\ntitre=Café\n", "p", "deg", "°", "\xEF\xBB\xBF[p]\ntitre=Café\ndeg=°\n"},
        // Only the first byte-order mark says UTF-8: a second one is part of the first line.
        {"\xEF\xBB\xBF\xEF\xBB\xBF[p]\nk=1\n", "p", "k", "2",
         "\xEF\xBB\xBF\xEF\xBB\xBF[p]\nk=1\n\n[p]\nk=2\n"},
        // Windows-1252 only for its lone \xE9: once that is replaced, the bytes of "Ã©" left would
        // read as "é" in UTF-8, so the file becomes UTF-8.
        {"[p]\nk=caf\xE9\nnom=\xC3\xA9t\xC3\xA9\n", "p", "k", "the", "[p]\nk=the\nnom=Ã©tÃ©\n"},
    };
    for (const auto& [before, section, key, value, after] : cases) {
        TempDir dir;
        const QString f = before.isNull() ? dir.file("a.ini") : dir.write("a.ini", before);
        ASSERT_TRUE(PutIni(section, key, value, f));
        EXPECT_EQ(dir.read("a.ini"), after) << before.constData();
    }

    // The new text goes to a file of its own that then takes the old one's place: a reader, or a
    // crash midway, finds the old settings or the new ones, never a mixture.
    TempDir dir;
    const QString f = dir.write("a.ini", "[p]\nk=1\n");
    ASSERT_EQ(::link(qPrintable(f), qPrintable(dir.file("old.ini"))), 0);
    ASSERT_TRUE(PutIni("p", "k", "2", f));
    EXPECT_EQ(dir.read("old.ini"), "[p]\nk=1\n") << "the old file was not written over";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "nothing is left behind";
    EXPECT_FALSE(PutIni("p", "k", "3", dir.file("missing/a.ini")));
}

TEST(IniFile, RemoveSectionTakesEveryCopyOfItAndLeavesTheOtherBytes) {
    const QByteArray bytes = "; tête\r\n[page_1]\r\nligne0=a\r\n\r\n[PAGE_2] \r\n; sa note\r\n"
                             "ligne0=b\r\n[page_3]\r\nligne0=\xE9\r\n[page_2]\r\nk=c";
    IniFile ini = IniFile::parse(bytes);
    ini.removeSection("page_2");
    EXPECT_EQ(ini.toBytes(), "; tête\r\n[page_1]\r\nligne0=a\r\n\r\n[page_3]\r\nligne0=\xE9\r\n");
    EXPECT_FALSE(ini.hasSection("page_2"));
    EXPECT_EQ(ini.value("page_3", "ligne0"), QString("é")) << "the look-ups follow the lines";
}

TEST(IniFile, ListsTheKeysOfASectionOnceEachInFileOrder) {
    const IniFile ini = IniFile::parse("[valeurs]\n; off=1\n Meteo = a\nbatterie=b\n[q\nMETEO=c\n"
                                       "note\nautre=e\n[Valeurs]\nlater=d\n[vide]\n");
    EXPECT_EQ(ini.keys("VALEURS"), QStringList({"Meteo", "batterie", "autre"}));
    EXPECT_EQ(ini.keys("vide"), QStringList());
    EXPECT_EQ(ini.keys("none"), QStringList());
}

TEST(IniFile, ParseInt16AcceptsOnlyDecimalsInRange) {
    EXPECT_EQ(parseInt16("-32768"), -32768);
    EXPECT_EQ(parseInt16("+32767"), 32767);
    for (const char* bad : {"", "abc", "12.5", "32768", "-32769", "0x10"}) {
        EXPECT_FALSE(parseInt16(bad).has_value()) << bad;
    }
}

// The encoding of files that are not UTF-8 and of the panel's characters.
TEST(AnsiText, MapsTheWindows1252CharactersAndEveryByteSurvivesARoundTrip) {
    EXPECT_EQ(ansi::toUnicode("\x80\x9C\xB0\xE9\x9F\x85"), QStringLiteral("€œ°éŸ…"));
    // No-break spaces that locales put between digit groups; one '?' per missing character, even
    // one outside the 16-bit range.
    EXPECT_EQ(ansi::fromUnicode(QString::fromUtf8("1\u00A0k\u202Fm a\u0101z\U0001F600y")),
              "1\xA0k\xA0m a?z?y");
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    EXPECT_EQ(ansi::fromUnicode(ansi::toUnicode(all)), all);
    // ASCII is converted many characters at a time: one character between two runs of any
    // length, or none, still converts as itself.
    for (int run = 0; run < 10; ++run) {
        const QString ascii = QString(run, u'a');
        for (const auto& [byte, character] : {std::pair{QByteArray(), QString()},
                                              {QByteArray("\x80"), QStringLiteral("€")},
                                              {QByteArray("\xE9"), QStringLiteral("é")}}) {
            const QByteArray bytes = ascii.toLatin1() + byte + QByteArray(run, 'z');
            const QString text = ascii + character + QString(run, u'z');
            EXPECT_EQ(ansi::toUnicode(bytes), text) << run;
            EXPECT_EQ(QString(u'>' % ansi::AsUnicode{bytes}), u'>' + text) << run;
            EXPECT_EQ(ansi::fromUnicode(text), bytes) << run;
        }
    }
}
