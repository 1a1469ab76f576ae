#include "engine/ReadParm.h"
#include "platform/IniFile.h"
#include "profile/LoadProfile.h"
#include "support/FakeLog.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

// What a newcomer copies: every INI block of the README and every file of examples/, as printed,
// reads without a comment inside a value, and settings and profiles load without a remark.
TEST(Examples, TheReadmeAndExampleSettingsAndProfilesLoadAsPrinted) {
    QStringList blocks;
    QFile readme(QStringLiteral(RELAYEUR_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    for (const QString& part : QString::fromUtf8(readme.readAll()).split("```ini\n").mid(1)) {
        blocks.append(part.left(part.indexOf("```")));
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
        TempDir dir;
        const QString path = dir.write("example.ini", block.toUtf8());
        const IniFile ini = IniFile::load(path);
        QString section;
        for (const QString& line : block.split('\n')) {
            if (line.startsWith('[')) {
                section = line.mid(1, line.indexOf(']') - 1);
            } else if (line.contains('=') && !line.startsWith(';')) {
                const QString key = line.left(line.indexOf('='));
                const std::optional<QString> value = ini.value(section, key);
                ASSERT_TRUE(value.has_value()) << key.toStdString();
                EXPECT_FALSE(value->contains(';')) << key.toStdString() << ": a comment in a value";
                EXPECT_TRUE(!numeric.contains(key) || parseInt16(*value)) << key.toStdString();
            }
        }
        FakeLog log;
        if (ini.value("parametres", "refresh")) {
            DisplayConfig config;
            PresenceFlags flags;
            RecordingMessageBoxes boxes;
            EXPECT_TRUE(ReadParmSteps({path, config, flags, log, boxes, [] {}}).front()())
                << "the settings read";
        }
        if (ini.hasSection("param")) {
            PageModel pages;
            ProfileParams params;
            EXPECT_TRUE(LoadProfile(path, {pages, params, log, [] {}}));
        }
        EXPECT_TRUE(log.lines.filter(QRegularExpression("^  ")).isEmpty())
            << "a remark about a value: " << log.lines.join('\n').toStdString();
    }
}
