#include "platform/InstanceLock.h"
#include "platform/SettingsDir.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

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
