#include "engine/NamedValues.h"

#include "platform/FileDescriptor.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

ValueSetting command(const QString& name, const QString& text) {
    return {name, ValueSetting::Kind::Command, text, 1};
}

ValueSetting file(const QString& name, const QString& path) {
    return {name, ValueSetting::Kind::File, path, 1};
}

qsizetype linesWith(const QStringList& lines, const QString& part) {
    return std::count_if(lines.cbegin(), lines.cend(),
                         [&](const QString& line) { return line.contains(part); });
}

qsizetype lineCount(const TempDir& dir, const QString& name) {
    return dir.read(name).count('\n');
}

// Killed and reaped, or at least no longer running (a zombie whose parent has not looked yet).
bool isGone(const QByteArray& pid) {
    QFile stat("/proc/" + pid.trimmed() + "/stat");
    const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : "(gone) Z";
    return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

TEST(NamedValues, ReadsTheEntriesOfValeursAndLeavesOutTheBadOnes) {
    FakeLog log;
    const std::vector<ValueSetting> settings = readValueSettings(
        IniFile::parse("[valeurs]\nmeteo=commande:~/bin/meteo.sh | head -1|600\n"
                       "batterie = fichier: ~/bat | 30\nnu=~/bin/x|60\ninconnu=web:x|60\n"
                       "periode=commande:date\nzero=commande:date|0\nmots=commande:date|dix\n"
                       "vide=fichier: |5\n=commande:date|5\nMajuscules=COMMANDE:date|1\n"),
        log);
    QStringList read;
    for (const ValueSetting& setting : settings) {
        read << QString("%1 %2 %3 %4")
                    .arg(setting.name)
                    .arg(int(setting.kind))
                    .arg(setting.target)
                    .arg(setting.periodSeconds);
    }
    EXPECT_EQ(read, QStringList({"meteo 0 ~/bin/meteo.sh | head -1 600", "batterie 1 ~/bat 30",
                                 "Majuscules 0 date 1"}));
    for (const char* bad : {"nu", "inconnu", "periode", "zero", "mots", "vide"}) {
        EXPECT_EQ(linesWith(log.lines, QString("Valeur %1 ignorée : ").arg(bad)), 1) << bad;
    }
    EXPECT_EQ(linesWith(log.lines, "Valeur sans nom ignorée"), 1);
    EXPECT_EQ(log.lines.size(), 7) << log.lines.join('\n').toStdString();
    EXPECT_EQ(log.selections, QList<int>({7}));

    FakeLog quiet;
    EXPECT_TRUE(readValueSettings(IniFile::parse("[param]\nc=20\n"), quiet).empty());
    EXPECT_TRUE(quiet.lines.isEmpty());
}

TEST(NamedValues, FilesGiveTheirFirstLineInThePanelsCharacterSet) {
    TempDir dir;
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir.path().toLocal8Bit());
    dir.write("utf8", "Café 21 °C\nsecond\n");
    dir.write("ansi", "\xE9t\xE9\r\n");
    dir.write("long", QByteArray(200, 'x') + "\n");
    dir.write("maison", "chez moi");
    dir.write("vide", "\nsuite\n");
    FakeLog log;
    NamedValues values({file("utf8", dir.file("utf8")), file("ansi", dir.file("ansi")),
                        file("long", dir.file("long")), file("maison", "~/maison"),
                        file("vide", dir.file("vide")), file("absent", dir.file("absent"))},
                       log);
    values.start();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !values.value("maison")->isEmpty() && log.lines.size() == 2; }));
    qputenv("HOME", home);
    EXPECT_EQ(values.value("UTF8"), QByteArray("Caf\xE9 21 \xB0"
                                               "C"));
    EXPECT_EQ(values.value("ansi"), QByteArray("\xE9t\xE9"));
    EXPECT_EQ(values.value("long"), QByteArray(127, 'x'));
    EXPECT_EQ(values.value("maison"), QByteArray("chez moi"));
    EXPECT_EQ(values.value("absent"), QByteArray());
    EXPECT_EQ(values.value("inconnue"), std::nullopt);
    EXPECT_EQ(linesWith(log.lines, "Valeur absent : le fichier " + dir.file("absent") +
                                       " est introuvable, la dernière valeur reste"),
              1);
    EXPECT_EQ(linesWith(log.lines, "Valeur vide : la première ligne de"), 1);
}

TEST(NamedValues, ACommandsFirstLineFollowsItAndAFailingOrSlowRunKeepsTheLastOneSaidOnce) {
    TempDir dir;
    const QString d = "cd '" + dir.path() + "'; ";
    dir.write("a", "v1\nsecond\n");
    FakeLog log;
    NamedValues values(
        {command("echoue", d + "echo >> runs-a; [ -f fail ] && exit 3; cat a"),
         command("lent",
                 d + "echo >> runs-b; [ -f slow ] && { sleep 30 & echo $! >> pids; wait; }; "
                     "echo rapide")},
        log, NamedValues::Limits{300});
    QSignalSpy changes(&values, &NamedValues::changed);
    values.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return values.value("echoue") == "v1" && values.value("lent") == "rapide"; }));
    dir.write("fail", "");
    dir.write("slow", "");
    const qsizetype runsA = lineCount(dir, "runs-a");
    const qsizetype runsB = lineCount(dir, "runs-b");
    // Two runs of each saw its flag and ended once a third has begun.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return lineCount(dir, "runs-a") >= runsA + 3 && lineCount(dir, "runs-b") >= runsB + 3;
        },
        8000));
    QStringList said = log.lines;
    said.sort();
    EXPECT_EQ(said,
              QStringList({"Valeur echoue : la commande a échoué (code de sortie 3), la "
                           "dernière valeur reste",
                           "Valeur lent : la commande a dépassé 0.3 s, la dernière valeur reste"}));
    // The first run that saw the flag has ended: its sleep is gone too.
    const QByteArray pid = dir.read("pids").split('\n').front();
    ASSERT_FALSE(pid.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return isGone(pid); })) << "killed with its shell";
    EXPECT_EQ(values.value("echoue"), "v1");
    EXPECT_EQ(values.value("lent"), "rapide");

    QFile::remove(dir.file("fail"));
    dir.write("a", "v2\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return values.value("echoue") == "v2"; }));
    EXPECT_EQ(log.lines.last(), "Valeur echoue : de nouveau à jour");
    EXPECT_EQ(changes.size(), 3) << "v1, rapide, v2";
    EXPECT_EQ(changes.last().front().toString(), "echoue");
}

TEST(NamedValues, AHungReadNeverHoldsTheWindow) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(qPrintable(dir.file("sourd")), 0600), 0);
    ASSERT_EQ(::mkfifo(qPrintable(dir.file("muet")), 0600), 0);
    // A writer that never writes: this test holds the FIFO open for writing.
    const FileDescriptor writer(::open(qPrintable(dir.file("muet")), O_RDWR | O_NONBLOCK));
    ASSERT_GE(writer.get(), 0);
    dir.write("ok", "un\n");
    FakeLog log;
    auto values = std::make_unique<NamedValues>(std::vector{file("sourd", dir.file("sourd")),
                                                            file("muet", dir.file("muet")),
                                                            file("ok", dir.file("ok"))},
                                                log, NamedValues::Limits{300});
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    values->start();
    EXPECT_EQ(values->value("sourd"), QByteArray()) << "empty before the first result";
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.lines.size() == 2; }));
    EXPECT_GE(ticks, 10) << "the event loop went on while the reads hang";
    EXPECT_EQ(linesWith(log.lines,
                        "la lecture du fichier " + dir.file("sourd") + " n'a pas fini après 0.3 s"),
              1);
    EXPECT_EQ(linesWith(log.lines, "Valeur muet : la lecture du fichier"), 1);
    // Another period: the other value follows, the hung reads are neither started again nor told
    // twice.
    dir.write("ok", "deux\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return values->value("ok") == "deux"; }));
    EXPECT_EQ(log.lines.size(), 2) << log.lines.join('\n').toStdString();

    QElapsedTimer clock;
    clock.start();
    values.reset();
    EXPECT_LT(clock.elapsed(), 1000) << "going does not wait for the reads";
    // Lets the worker stuck in opening the first FIFO go.
    const FileDescriptor release(::open(qPrintable(dir.file("sourd")), O_RDWR | O_NONBLOCK));
    EXPECT_GE(release.get(), 0);
}

TEST(NamedValues, AValueNeverRunsTwiceAtOnceAndItsCommandGoesWithIt) {
    TempDir dir;
    FakeLog log;
    auto values = std::make_unique<NamedValues>(
        std::vector{command("long", "cd '" + dir.path() +
                                        "'; mkdir lock || echo >> overlaps; [ -f stay ] && "
                                        "{ sleep 30 & echo $! > pid; wait; }; sleep 1.5; "
                                        "rmdir lock; echo >> runs; echo fait")},
        log);
    values->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return lineCount(dir, "runs") >= 2; }, 8000));
    EXPECT_EQ(values->value("long"), "fait");
    EXPECT_FALSE(QFile::exists(dir.file("overlaps")));
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();

    dir.write("stay", "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dir.read("pid").isEmpty(); }));
    const QByteArray pid = dir.read("pid");
    values.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return isGone(pid); })) << "a run in flight is killed";
}
