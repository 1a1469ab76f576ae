#pragma once

#include "platform/WinampLink.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QPair>

// A player that answers from a table and records what it was asked. Command 120 also writes
// `playlist` to `playlistFile`, as the player would.
struct FakeWinampLink : WinampLink {
    QString player = QStringLiteral("fake"); // empty: no player runs
    QMap<QPair<qint32, qint32>, qint32> answers;
    QString playlistFile;
    QByteArray playlist;
    int finds = 0;
    QList<QPair<qint32, qint32>> sent;

    QString find() override {
        ++finds;
        return player;
    }
    qint32 send(const QString& to, qint32 command, qint32 argument) override {
        sent.append({command, argument});
        if (to != player) {
            return 0;
        }
        if (command == IPC_WRITEPLAYLIST && !playlistFile.isEmpty()) {
            QFile f(playlistFile);
            if (f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                f.write(playlist);
            }
        }
        return answers.value({command, argument});
    }
    // A track of `lengthS` seconds played up to `positionMs`.
    void play(qint32 lengthS, qint32 positionMs) {
        answers[{IPC_GETOUTPUTTIME, 1}] = lengthS;
        answers[{IPC_GETOUTPUTTIME, 0}] = positionMs;
    }
};
