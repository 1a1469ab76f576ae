#include "platform/InstanceLock.h"
#include "platform/LocalClock.h"
#include "platform/MemoryStatus.h"
#include "platform/NonBlockingStream.h"
#include "platform/RuntimeDir.h"
#include "platform/SettingsDir.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>

// A lock file that cannot be made is told apart from one that another copy holds.
TEST(InstanceLock, NoneInAMissingFolderAndOneHolderAtATime) {
    TempDir dir;
    int error = 0;
    EXPECT_FALSE(InstanceLock::acquire(dir.file("missing/relayeur.lock"), error).has_value());
    EXPECT_EQ(error, ENOENT);
    const auto held = InstanceLock::acquire(dir.file("relayeur.lock"), error);
    ASSERT_TRUE(held.has_value());
    EXPECT_FALSE(InstanceLock::acquire(dir.file("relayeur.lock"), error).has_value());
    EXPECT_EQ(error, EWOULDBLOCK);
}

TEST(RuntimeDir, VariableThenRunUserThenAPrivateTmpFolder) {
    const uid_t me = ::getuid();
    // What is made first, the variable (empty: unset), the user, and what is found (empty:
    // refused, for the reason given), under the test's folder; "own" is the tmp folder.
    const std::tuple<const char*, const char*, uid_t, const char*, const char*> cases[] = {
        {"xdg run", "xdg", me, "xdg", ""},
        {"run", "", me, "run", ""},
        {"", "xdg", me, "own", ""}, // a variable naming no folder, no run/user: one is made
        {"own:700", "", me, "own", ""},
        {"run", "", me + 1, "", "appartient à un autre utilisateur"},
        {"own:755", "", me, "", "(droits 755)"},
        {"private:700 link", "", me, "", "lien symbolique"},
        {"file", "", me, "", "n'est pas un dossier"},
    };
    for (const auto& [made, xdg, uid, expected, why] : cases) {
        TempDir d;
        const QString own = QStringLiteral("tmp/app-%1").arg(uid);
        const auto at = [&](const QString& name) { return d.file(name == "own" ? own : name); };
        QDir().mkpath(d.file("tmp"));
        for (const QString& item : QString(made).split(' ', Qt::SkipEmptyParts)) {
            const QString name = item.section(':', 0, 0);
            if (name == "link") {
                QFile::link(at("private"), at("own"));
            } else if (name == "file") {
                d.write(own, "");
            } else {
                QDir().mkpath(at(name));
                ::chmod(qPrintable(at(name)), item.section(':', 1).toUInt(nullptr, 8) | 0700);
            }
        }
        const RuntimePath found =
            findRuntimeDir("app", {*xdg ? at(xdg) : "", at("run"), at("tmp"), uid});
        EXPECT_EQ(found.path, *expected ? at(expected) : QString()) << made;
        EXPECT_EQ(found.problem.isEmpty(), *expected != '\0') << made;
        EXPECT_TRUE(found.problem.contains(why)) << made << ": " << qPrintable(found.problem);
        struct stat info {};
        EXPECT_TRUE(found.path != at("own") ||
                    (::stat(qPrintable(found.path), &info) == 0 && (info.st_mode & 0777) == 0700))
            << made << ": the tmp folder is the user's alone";
    }
}

TEST(SettingsDir, CommandLineThenPortableThenUserConfig) {
    TempDir exe, given, config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString user = resolveSettingsDir({}, exe.path(), "param.ini", "relayeur");
    exe.write("param.ini", "[param]\n");
    const QString portable = resolveSettingsDir({}, exe.path(), "param.ini", "relayeur");
    const QString fromCommandLine = resolveSettingsDir(given.path(), exe.path(), "param.ini", "x");
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(QDir::cleanPath(user), QDir::cleanPath(config.path() + "/relayeur"));
    EXPECT_EQ(QDir::cleanPath(portable), QDir::cleanPath(exe.path()));
    EXPECT_EQ(QDir::cleanPath(fromCommandLine), QDir::cleanPath(given.path()));

    // A first run makes the folder above the settings only when it is the one missing.
    EXPECT_TRUE(seedSettingsDir(config.file("a/b/relayeur"), {}, "param.ini", {})
                    .problem.startsWith("impossible de créer " + config.file("a/b") + " : "));
    EXPECT_FALSE(QFileInfo::exists(config.file("a")));
}

TEST(MemoryStatus, FiguresComeFromTheirFieldsInBytes) {
    const MemoryStatus m =
        parseMeminfo("MemTotal:       16318480 kB\nMemFree:          512000 kB\n"
                     "MemAvailable:    8000000 kB\nSwapCached:            0 kB\n"
                     "SwapTotal:       2097148 kB\nSwapFree:        1048576 kB\n");
    EXPECT_EQ(m.totalPhys, 16318480LL * 1024);
    EXPECT_EQ(m.availPhys, 8000000LL * 1024);
    EXPECT_EQ(m.totalPageFile, (16318480LL + 2097148) * 1024);
    EXPECT_EQ(m.availPageFile, (8000000LL + 1048576) * 1024);

    // 1 TiB, no swap lines, another order, no final newline.
    const MemoryStatus big =
        parseMeminfo("MemAvailable: 805306368 kB\nSwapCached: 0 kB\nMemTotal: 1073741824 kB");
    EXPECT_EQ(big.totalPhys, 1LL << 40);
    EXPECT_EQ(big.availPageFile, 805306368LL * 1024);
    EXPECT_EQ(parseMeminfo("MemTotalX: 5 kB\nMemFree: 7 kB\n").totalPhys, 0);

    const MemoryStatus machine = MeminfoFile().read();
    EXPECT_GT(machine.availPhys, 0);
    EXPECT_GE(machine.totalPageFile, machine.totalPhys);
    MeminfoFile kept; // read again and again through one descriptor, as on every refresh
    for (int reading = 0; reading < 2; ++reading) {
        EXPECT_EQ(kept.read().totalPhys, machine.totalPhys);
    }
}

TEST(LocalClock, ParisAcrossTheEndOfSummerTimeThenAZoneChangedWhileRunning) {
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Paris");
    LocalClock clock;
    const qint64 start =
        QDateTime(QDate(2026, 10, 25), QTime(0, 59, 59), Qt::UTC).toMSecsSinceEpoch();
    const auto shown = [&](qint64 seconds) {
        return clock.at(start + seconds * 1000).toString(QStringLiteral("dd/MM HH:mm:ss"));
    };
    EXPECT_EQ(shown(0), "25/10 02:59:59");
    EXPECT_EQ(shown(1), "25/10 02:00:00"); // summer time ends
    EXPECT_EQ(shown(3601), "25/10 03:00:00");
    // The system's zone changes: the time follows it from the next minute.
    qputenv("TZ", "Asia/Tokyo");
    EXPECT_EQ(shown(3631), "25/10 03:00:30");
    EXPECT_EQ(shown(3661), "25/10 11:01:00");
    EXPECT_EQ(shown(-86400 * 365 * 60), "09/11 09:59:59"); // before 1970
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    tzset();
    EXPECT_LE(std::abs(clock.now().toMSecsSinceEpoch() - QDateTime::currentMSecsSinceEpoch()),
              1000);
}

// A reply is read whole even when the other end closes right after it; a peer that reads nothing
// stops a write at its deadline, with the rest still queued.
TEST(NonBlockingStream, ReadsUpToTheEndAndWritesUpToTheDeadline) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    FileDescriptor near(ends[0]);
    std::optional<FileDescriptor> far(std::in_place, ends[1]);
    QByteArray reply("abcd");
    ASSERT_TRUE(stream::writeAll(far->get(), reply, QDeadlineTimer(1000)));
    EXPECT_TRUE(reply.isEmpty());
    far.reset();
    QByteArray got;
    EXPECT_TRUE(stream::readAll(near.get(), got, 3, QDeadlineTimer(1000)));
    EXPECT_EQ(got, "abc");
    EXPECT_EQ(stream::readSome(near.get(), got), std::optional<int>(0));
    EXPECT_EQ(got, "abcd");
    EXPECT_FALSE(stream::readAll(near.get(), got, 5, QDeadlineTimer(1000)));

    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    const FileDescriptor writer(ends[0]), silent(ends[1]);
    QByteArray flood(8 << 20, 'x');
    EXPECT_FALSE(stream::writeAll(writer.get(), flood, QDeadlineTimer(50)));
    EXPECT_GT(flood.size(), 0);
    EXPECT_LT(flood.size(), 8 << 20);
    QByteArray none;
    EXPECT_EQ(stream::readSome(writer.get(), none), std::nullopt);
}
