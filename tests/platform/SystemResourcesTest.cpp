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
    struct Case {
        const char* made; // under the test's folder first; "own" is the tmp folder
        const char* xdg;  // the variable, under the test's folder; empty: unset
        uid_t uid;
        const char* found; // under the test's folder; empty: refused, for this reason
        const char* why;
    };
    const Case cases[] = {
        {"xdg run", "xdg", me, "xdg", ""},
        {"run", "", me, "run", ""},
        {"", "xdg", me, "own", ""}, // a variable naming no folder, no run/user: one is made
        {"own:700", "", me, "own", ""},
        {"run", "", me + 1, "", "appartient à un autre utilisateur"},
        {"own:755", "", me, "", "(droits 755)"},
        {"private:700 link", "", me, "", "lien symbolique"},
        {"file", "", me, "", "n'est pas un dossier"},
    };
    for (const Case& c : cases) {
        TempDir d;
        const QString own = QStringLiteral("tmp/app-%1").arg(c.uid);
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
        EXPECT_EQ(found.path, *c.found ? at(c.found) : QString()) << c.made;
        EXPECT_EQ(found.problem.isEmpty(), *c.found != '\0') << c.made;
        EXPECT_TRUE(found.problem.contains(c.why)) << c.made << ": " << qPrintable(found.problem);
        struct stat info {};
        EXPECT_TRUE(found.path != at("own") ||
                    (::stat(qPrintable(found.path), &info) == 0 && (info.st_mode & 0777) == 0700));
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
}
