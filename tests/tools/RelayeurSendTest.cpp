// relayeur-send against a receiver in the test: the bytes it puts on the wire, the socket it
// picks, and what it tells the user.
#include "shell/LineMessageReceiver.h"
#include "support/QtPrinters.h"

#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// A receiver on the names given that takes every message.
struct Receiver : LineMessageReceiver {
    explicit Receiver(const QStringList& names = {"default"}) {
        answer = linemessage::kTaken;
        if (!names.isEmpty()) {
            EXPECT_EQ(server.listen(dir, names), QStringList());
        }
    }

    // The event loop runs while relayeur-send waits for its answer.
    Outcome send(const QStringList& arguments, const QString& program = RELAYEUR_SEND_BINARY,
                 const char* locale = "C.UTF-8") {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("LC_ALL", locale);
        process.setProcessEnvironment(env);
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(program, arguments);
        Outcome run;
        if (!finished.wait(30000)) {
            process.kill();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
};

} // namespace

TEST(RelayeurSend, SendsTextModeAndLineInWindows1252) {
    Receiver r;
    EXPECT_EQ(r.send({"Bonjour", "1", "2"}).exitCode, 0);
    EXPECT_EQ(r.send({"Été à 20°C, 5 €, Ω", "0", "3"}).exitCode, 0);
    EXPECT_EQ(r.send({"", "4", "0"}).exitCode, 0);
    // Under the plain C locale the text is still read as UTF-8.
    EXPECT_EQ(r.send({"Été", "0", "1"}, RELAYEUR_SEND_BINARY, "C").exitCode, 0);
    ASSERT_EQ(r.received.size(), 4);
    EXPECT_EQ(r.received[0], std::make_pair(3u, QByteArray("Bonjour12")));
    EXPECT_EQ(r.received[1].second, QByteArray("\xC9t\xE9 \xE0 20\xB0"
                                               "C, 5 \x80, ?03"));
    EXPECT_EQ(r.received[2].second, QByteArray("40"));
    EXPECT_EQ(r.received[3].second, QByteArray("\xC9t\xE9"
                                               "01"));
}

TEST(RelayeurSend, RawBytesAnyDwDataAndAWindowOfItsChoice) {
    Receiver r({"4A00007"});
    EXPECT_EQ(r.send({"--window", "0x4a00007", "--raw", "A\\x00\\xff\\\\12"}).exitCode, 0);
    EXPECT_EQ(r.send({"--window", "4A00007", "--dwdata", "0x10", "Salut", "0", "0"}).exitCode, 0);
    const Outcome viaDefault = r.send({"Salut", "0", "0"});
    EXPECT_EQ(viaDefault.exitCode, 1) << "this receiver has no default socket";
    EXPECT_TRUE(viaDefault.err.contains("aucun Relayeur ne tourne pour cet utilisateur"))
        << viaDefault.err.toStdString();
    ASSERT_EQ(r.received.size(), 2);
    EXPECT_EQ(r.received[0], std::make_pair(3u, QByteArray("A\0\xff\\12", 6)));
    EXPECT_EQ(r.received[1], std::make_pair(16u, QByteArray("Salut00")));
}

TEST(RelayeurSend, ExitStatusTellsWhatHappened) {
    Receiver r;
    r.answer = linemessage::kIgnored;
    const Outcome refused = r.send({"--dwdata", "4", "Bonjour", "1", "2"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.err.startsWith("relayeur-send : Relayeur a laissé le message de côté"))
        << refused.err.toStdString();

    const Outcome tooLong = r.send({"--raw", QString(linemessage::kMaxDataBytes + 1, 'x')});
    EXPECT_EQ(tooLong.exitCode, 3);
    EXPECT_TRUE(tooLong.err.contains("Relayeur n'a pas répondu")) << tooLong.err.toStdString();
    EXPECT_EQ(r.received.size(), 1) << "the long message never reaches the window";

    const Outcome otherWindow = r.send({"--window", "99", "Bonjour", "1", "2"});
    EXPECT_EQ(otherWindow.exitCode, 1);
    EXPECT_TRUE(otherWindow.err.contains("aucun Relayeur n'a la fenêtre 99"));

    Receiver nobody(QStringList{});
    const Outcome alone = nobody.send({"Bonjour", "1", "2"});
    EXPECT_EQ(alone.exitCode, 1);
    EXPECT_EQ(alone.err.trimmed(),
              "relayeur-send : aucun Relayeur ne tourne pour cet utilisateur (rien n'écoute sur " +
                  nobody.runtime.file("relayeur/default") + ")");

    const Outcome help = nobody.send({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage : relayeur-send"));
}

TEST(RelayeurSend, RefusesAMistakenCommandBeforeSendingAnything) {
    Receiver r;
    const QStringList mistakes[] = {{"Bonjour", "5", "2"},
                                    {"Bonjour", "1", "4"},
                                    {"Bonjour", "1"},
                                    {"--raw", "12", "Bonjour", "1", "2"},
                                    {"--raw", "Bonjour\\q12"},
                                    {"--dwdata", "trois", "Bonjour", "1", "2"},
                                    {"--window", "fenêtre", "Bonjour", "1", "2"},
                                    {"Bonjour", "1", "2", "--window"}};
    for (const QStringList& arguments : mistakes) {
        const Outcome run = r.send(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(' ').toStdString();
    }
    // Bytes that are no text in the locale's encoding nor in UTF-8.
    const Outcome unreadable = r.send(
        {"-c",
         QStringLiteral("exec \"%1\" \"$(printf 'caf\\351')\" 0 0").arg(RELAYEUR_SEND_BINARY)},
        "/bin/sh");
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.err.contains("lisible")) << unreadable.err.toStdString();
    EXPECT_TRUE(r.received.isEmpty());
}
