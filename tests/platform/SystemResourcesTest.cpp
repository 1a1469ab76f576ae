#include "platform/InstanceLock.h"
#include "platform/RuntimeDir.h"
#include "platform/SettingsDir.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(InstanceLock, OnlyOneHolderAtATime) {
    TempDir dir;
    const QString path = dir.file("relayeur.lock");
    std::optional<InstanceLock> first = InstanceLock::acquire(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(InstanceLock::acquire(path).has_value());

    // Moving the lock keeps it held; only the destruction of the last holder frees it.
    std::optional<InstanceLock> moved(std::move(*first));
    first.reset();
    EXPECT_FALSE(InstanceLock::acquire(path).has_value());
    moved.reset();
    EXPECT_TRUE(InstanceLock::acquire(path).has_value());

    EXPECT_FALSE(InstanceLock::acquire(dir.file("missing/relayeur.lock")).has_value());
}

TEST(RuntimeDir, VariableThenRunUserThenAPrivateTmpFolder) {
    const uid_t me = ::getuid();
    const QString own = QStringLiteral("tmp/app-%1").arg(me);
    struct Case {
        const char* what;
        const char* xdg;  // the variable, under the test's folder; empty: unset
        const char* made; // made first under the test's folder, "own" for the tmp folder
        uid_t uid;
        const char* found; // under the test's folder, "own" for the tmp folder; empty: refused
        const char* why;   // in the problem of a refusal
    };
    const Case cases[] = {
        {"variable set", "xdg", "xdg run", me, "xdg", ""},
        {"variable unset, run/user of the user", "", "run", me, "run", ""},
        {"variable naming no folder, no run/user", "xdg", "", me, "own", ""},
        {"a private tmp folder already there", "", "own:700", me, "own", ""},
        {"run/user of another user", "", "run", me + 1, "", "appartient à un autre utilisateur"},
        {"tmp folder open to others", "", "own:755", me, "", "(droits 755)"},
        {"tmp folder a symbolic link", "", "private:700 link", me, "", "lien symbolique"},
        {"tmp folder a file", "", "file", me, "", "n'est pas un dossier"},
    };
    for (const Case& c : cases) {
        TempDir d;
        const auto at = [&](const QString& name) { return d.file(name == "own" ? own : name); };
        QDir().mkpath(d.file("tmp"));
        for (const QString& item : QString(c.made).split(' ', Qt::SkipEmptyParts)) {
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
            findRuntimeDir("app", {*c.xdg ? at(c.xdg) : "", at("run"), at("tmp"), c.uid});
        EXPECT_EQ(found.path, *c.found ? at(c.found) : QString()) << c.what;
        EXPECT_EQ(found.problem.isEmpty(), *c.found != '\0') << c.what;
        EXPECT_TRUE(found.problem.contains(c.why)) << c.what << ": " << found.problem.toStdString();
        struct stat info {};
        if (found.path == at("own")) {
            ASSERT_EQ(::stat(qPrintable(found.path), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << c.what;
        }
    }
}

TEST(SettingsDir, CommandLineThenPortableThenUserConfig) {
    TempDir exe, given, config;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

    const QString userDir = resolveSettingsDir({}, exe.path(), "param.ini", "relayeur");
    exe.write("param.ini", "[param]\n");
    const QString portableDir = resolveSettingsDir({}, exe.path(), "param.ini", "relayeur");
    const QString givenDir = resolveSettingsDir(given.path(), exe.path(), "param.ini", "relayeur");

    if (hadConfig) {
        qputenv("XDG_CONFIG_HOME", savedConfig);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(QDir::cleanPath(userDir), QDir::cleanPath(config.path() + "/relayeur"));
    EXPECT_EQ(QDir::cleanPath(portableDir), QDir::cleanPath(exe.path()));
    EXPECT_EQ(QDir::cleanPath(givenDir), QDir::cleanPath(given.path()));
}
