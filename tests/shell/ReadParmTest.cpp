#include "shell/ReadParm.h"

#include "platform/IniFile.h"
#include "profile/LoadProfile.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kComplete = "[parametres]\n"
                             "TypeLCD=3\nCOM=2\nC=20\nL=4\ncontrast=-5\nbacklight=1\n"
                             "refresh=250\nscrolling=7\n"
                             "rep_winamp=/home/moi/Ma%Musique/\nrep_seti=\n";

struct Fixture {
    TempDir dir;
    DisplayConfig config;
    PresenceFlags flags;
    FakeLog log;
    RecordingMessageBoxes boxes;
    int pauses = 0;
    bool mbmFound = true;

    bool run(const QByteArray& ini) {
        const QString file = ini.isNull() ? dir.file("param.ini") : dir.write("param.ini", ini);
        return ReadParm({file, config, flags, log, boxes, [this] { ++pauses; },
                         [this] { flags.MbmPresent = mbmFound; }});
    }
};

const QString kSep = QString(49, '-');

} // namespace

TEST(ReadParm, CompleteFileGivesTheTwentySixLineLogAndTheFlags) {
    Fixture f;
    f.mbmFound = false;
    ASSERT_TRUE(f.run(kComplete));
    const QStringList expected = {kSep,
                                  "Lecture du fichier de paramètre : param.ini ...",
                                  kSep,
                                  "TypeLCD = 3",
                                  "PortCOM = 2",
                                  "Colonnes = 20",
                                  "Lignes = 4",
                                  "Contrast = -5",
                                  "BackLight = 1",
                                  "Refresh = 250",
                                  "Scrolling = 7",
                                  "Répertoire winamp = /home/moi/Ma Musique/",
                                  "Répertoire seti = ",
                                  "Répertoire half-life = Err",
                                  kSep,
                                  "Lecture du fichier de paramètre : param.ini -> OK",
                                  kSep,
                                  kSep,
                                  "Test des programmes externes ...",
                                  kSep,
                                  "Winamp ...",
                                  "Winamp -> OK",
                                  "Seti ...",
                                  "Seti -> ABSENT",
                                  "Mother board monitor ...",
                                  "Mother Board Monitor -> ABSENT"};
    EXPECT_EQ(f.log.lines, expected);
    EXPECT_TRUE(f.boxes.boxes.isEmpty());
    EXPECT_EQ(f.pauses, 4);
    EXPECT_EQ(f.log.selections.back(), 26);

    EXPECT_EQ(f.config.TypeLCD, 3);
    EXPECT_EQ(f.config.COM, 2);
    EXPECT_EQ(f.config.contrast, -5);
    EXPECT_EQ(f.config.refresh, 250);
    EXPECT_EQ(f.config.rep_winamp, QByteArray("/home/moi/Ma Musique/"));
    EXPECT_EQ(f.config.rep_HL, QByteArray("Err"));
    EXPECT_TRUE(f.flags.WinampPresent);
    EXPECT_FALSE(f.flags.SetiPresent);
    EXPECT_FALSE(f.flags.MbmPresent);

    Fixture longDir;
    ASSERT_TRUE(longDir.run(QByteArray(kComplete).replace("Ma%Musique/", QByteArray(200, 'a'))));
    EXPECT_EQ(longDir.config.rep_winamp, "/home/moi/" + QByteArray(117, 'a')) << "127 characters";
}

TEST(ReadParm, PortsNameTheSerialDeviceElseTheMatchingTtySAndTheParallelPort) {
    for (const auto& [com, device] : {std::pair{"2", "/dev/ttyUSB0"},
                                      {"3", "/dev/ttyS2"},
                                      {"1", "/dev/ttyS0"},
                                      {"0", "/dev/ttyACM0"},
                                      {"-1", ""}}) {
        Fixture f;
        ASSERT_TRUE(f.run(QByteArray(kComplete).replace("COM=2", QByteArray("COM=") + com) +
                          "[Ports]\ncom2 = /dev/ttyUSB0\nCOM3=\nCOM0=/dev/ttyACM0\n"));
        EXPECT_EQ(f.config.serialDevice, device) << com;
        EXPECT_EQ(f.config.parallelPort, "/dev/parport0");
    }
    Fixture direct;
    EXPECT_FALSE(direct.run("[parametres]\nTypeLCD=x\n[ports]\nLPT1=direct\n"));
    EXPECT_EQ(direct.config.parallelPort, "direct") << "read whatever became of the rest";
}

TEST(ReadParm, MissingFileStopsAfterTheHeadingWithTheErrorBox) {
    Fixture f;
    EXPECT_FALSE(f.run(QByteArray()));
    EXPECT_EQ(f.log.lines,
              QStringList({kSep, "Lecture du fichier de paramètre : param.ini ...", kSep,
                           f.dir.file("param.ini") + " introuvable ou illisible"}));
    ASSERT_EQ(f.boxes.boxes.size(), 1);
    EXPECT_EQ(f.boxes.boxes[0].title, "Erreur");
    EXPECT_EQ(f.boxes.boxes[0].text, "Erreur lors du chargement du fichier param.ini");
    EXPECT_EQ(f.boxes.boxes[0].icon, MessageIcon::Critical);
    EXPECT_EQ(f.config.refresh, 0);
    EXPECT_EQ(f.config.TypeLCD, 0);
    EXPECT_FALSE(f.flags.WinampPresent || f.flags.SetiPresent || f.flags.MbmPresent);
}

TEST(ReadParm, BadNumberKeepsWhatWasReadBeforeIt) {
    Fixture nonNumeric;
    QByteArray ini = kComplete;
    ini.replace("refresh=250", "refresh=vite");
    EXPECT_FALSE(nonNumeric.run(ini));
    EXPECT_EQ(nonNumeric.log.lines.size(), 3 + 6 + 1);
    EXPECT_EQ(nonNumeric.log.lines[8], "BackLight = 1");
    EXPECT_TRUE(nonNumeric.log.lines.back().contains("refresh de [parametres] vaut « vite »"));
    EXPECT_EQ(nonNumeric.config.backlight, 1);
    EXPECT_EQ(nonNumeric.config.refresh, 0);
    EXPECT_EQ(nonNumeric.config.scrolling, 0);
    EXPECT_TRUE(nonNumeric.config.rep_winamp.isEmpty());
    EXPECT_EQ(nonNumeric.boxes.boxes.size(), 1);
    EXPECT_FALSE(nonNumeric.flags.WinampPresent);

    Fixture tooLarge;
    ini = kComplete;
    ini.replace("L=4", "L=40000");
    EXPECT_FALSE(tooLarge.run(ini));
    EXPECT_EQ(tooLarge.log.lines.size(), 3 + 3 + 1);
    EXPECT_EQ(tooLarge.log.lines[5], "Colonnes = 20");
    EXPECT_EQ(tooLarge.config.C, 20);
    EXPECT_EQ(tooLarge.config.L, 0);
    EXPECT_EQ(tooLarge.boxes.boxes.size(), 1);
}

// What a newcomer copies: every INI block of the README and every file of examples/, as printed.
TEST(ReadParm, TheReadmeAndExampleSettingsAndProfilesLoadAsPrinted) {
    QStringList blocks;
    QFile readme(QStringLiteral(RELAYEUR_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(readme.readAll()).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] == "```ini") {
            blocks.append(QString());
            while (++i < lines.size() && lines[i] != "```") {
                blocks.back() += lines[i] + '\n';
            }
        }
    }
    ASSERT_GE(blocks.size(), 4);
    const QDir examples(QStringLiteral(RELAYEUR_SOURCE_DIR "/examples"));
    for (const QString& name : examples.entryList({"*.ini", "*.tlcd"}, QDir::Files)) {
        QFile file(examples.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        blocks.append(QString::fromUtf8(file.readAll()));
    }

    const QStringList numeric = {"TypeLCD",   "COM",     "C",         "L",        "contrast",
                                 "backlight", "refresh", "scrolling", "nb_pages", "time",
                                 "next",      "scroll0", "scroll1",   "scroll2",  "scroll3"};
    for (const QString& block : blocks) {
        SCOPED_TRACE(block.toStdString());
        Fixture f;
        const IniFile ini = IniFile::load(f.dir.write("example.ini", block.toUtf8()));
        QString section;
        for (const QString& line : block.split('\n')) {
            if (line.startsWith('[')) {
                section = line.mid(1, line.indexOf(']') - 1);
            } else if (line.contains('=') && !line.startsWith(';')) {
                const QString key = line.left(line.indexOf('='));
                const std::optional<QString> value = ini.value(section, key);
                ASSERT_TRUE(value.has_value()) << key.toStdString();
                EXPECT_FALSE(value->contains(';')) << key.toStdString() << ": a comment in a value";
                if (numeric.contains(key)) {
                    EXPECT_TRUE(parseInt16(*value)) << key.toStdString();
                }
            }
        }
        if (ini.value("parametres", "refresh")) {
            EXPECT_TRUE(f.run(block.toUtf8()));
        }
        if (ini.hasSection("param")) {
            PageModel pages;
            ProfileParams params;
            FakeLog log;
            EXPECT_TRUE(LoadProfile(f.dir.file("example.ini"), {pages, params, log, [] {}}));
            EXPECT_TRUE(std::none_of(log.lines.begin(), log.lines.end(),
                                     [](const QString& l) { return l.startsWith("  "); }))
                << "a remark about a value: " << log.lines.join('\n').toStdString();
        }
    }
}
