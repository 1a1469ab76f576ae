#include "engine/SensorsPublisher.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

// One start of the publisher: what it settled on, and what it said after.
struct PublisherRun {
    SensorsPublisher publisher;
    QStringList said;
    std::optional<QString> outcome;

    bool start(const QString& program, const QString& block) {
        QObject::connect(&publisher, &SensorsPublisher::said,
                         [this](const QString& line) { said.append(line); });
        publisher.start(program, block);
        publisher.whenSettled([this](const QString& line) { outcome = line; });
        return QTest::qWaitFor([&] { return outcome.has_value(); }, 10000);
    }
};

} // namespace

// A publisher that stops before its block is there or after, and one that never publishes, are
// each said once, with what it printed on its error output; one ended on purpose is not.
TEST(SensorsPublisher, APublisherThatStopsOrNeverPublishesIsSaid) {
    TempDir dir;
    const QString block =
        QStringLiteral("/relayeur-test-publisher-%1").arg(QCoreApplication::applicationPid());
    const auto removeBlock = qScopeGuard([&] { ::shm_unlink(qPrintable(block)); });
    const auto script = [&](const QString& name, const QByteArray& body) {
        const QString path = dir.write(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };

    PublisherRun gaveUp;
    ASSERT_TRUE(gaveUp.start(script("gave-up", "echo 'pas de capteurs' >&2\nexit 3\n"), block));
    EXPECT_EQ(*gaveUp.outcome,
              "Capteurs : relayeur-sensors s'est arrêté (code 3) sans publier le bloc " + block);
    EXPECT_EQ(gaveUp.said, QStringList{"pas de capteurs"});

    // Publishes, then is killed once the test writes to its pipe.
    const QString go = dir.file("go");
    ASSERT_EQ(::mkfifo(qPrintable(go), 0600), 0);
    PublisherRun killed;
    ASSERT_TRUE(killed.start(script("killed", "touch /dev/shm" + block.toUtf8() + "\nread x < " +
                                                  go.toUtf8() + "\nkill -KILL $$\n"),
                             block));
    EXPECT_EQ(*killed.outcome, "Capteurs : relayeur-sensors lancé, il publie le bloc " + block);
    QFile pipe(go);
    ASSERT_TRUE(pipe.open(QIODevice::WriteOnly));
    pipe.write("\n");
    pipe.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !killed.said.isEmpty(); }, 10000));
    EXPECT_EQ(killed.said, QStringList{"Capteurs : relayeur-sensors s'est arrêté (en plantant) : "
                                       "les capteurs gardent leurs dernières valeurs"});
    ::shm_unlink(qPrintable(block));

    PublisherRun silent;
    ASSERT_TRUE(silent.start(script("silent", "exec sleep 60\n"), block));
    EXPECT_EQ(*silent.outcome, "Capteurs : relayeur-sensors n'a pas publié le bloc " + block +
                                   " en 1 s, il est arrêté");
    EXPECT_TRUE(silent.said.isEmpty());
}
