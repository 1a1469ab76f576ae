#include "platform/InstanceLock.h"
#include "platform/SettingsDir.h"
#include "platform/SharedLibrary.h"
#include "platform/SharedMemory.h"
#include "support/TempDir.h"

#include <QDir>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

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

TEST(SharedMemory, CopiesTheBytesOfAnExistingBlock) {
    const QString name = QStringLiteral("/relayeur-test-%1").arg(::getpid());
    EXPECT_FALSE(SharedMemory::openReadOnly(name).has_value());

    const QByteArray data("abc\0def", 7);
    const int fd = ::shm_open(qPrintable(name), O_CREAT | O_EXCL | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    const bool written = ::ftruncate(fd, data.size()) == 0 &&
                         ::write(fd, data.constData(), data.size()) == data.size();
    ::close(fd);

    std::optional<SharedMemory> block = SharedMemory::openReadOnly(name);
    std::optional<QByteArray> head, all;
    if (block) {
        head = block->copy(4);
        all = block->copy(100);
    }
    ::shm_unlink(qPrintable(name));

    ASSERT_TRUE(written);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(head, QByteArray("abc\0", 4));
    EXPECT_EQ(all, data);
}

TEST(SharedLibrary, OpensTheFirstCandidateThatLoads) {
    EXPECT_FALSE(SharedLibrary::open({"/nonexistent/libnothing.so", "libnothing-relayeur.so"}));

    std::optional<SharedLibrary> libm = SharedLibrary::open({"/nonexistent/libm.so", "libm.so.6"});
    ASSERT_TRUE(libm.has_value());
    EXPECT_EQ(libm->path(), "libm.so.6");
    auto cosine = reinterpret_cast<double (*)(double)>(libm->symbol("cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(libm->symbol("no_such_symbol_in_libm"), nullptr);
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
