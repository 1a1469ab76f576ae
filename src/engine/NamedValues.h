#pragma once

#include "model/Log.h"
#include "platform/IniFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// A value of [valeurs] in param.ini: name=commande:COMMAND|SECONDS or name=fichier:PATH|SECONDS.
struct ValueSetting {
    enum class Kind { Command, File };
    QString name; // as written, without regard to case, as every key of the file
    Kind kind = Kind::Command;
    QString target; // the command for /bin/sh -c, or the file (a leading ~/ is the home folder)
    int periodSeconds = 0;
};

// The entries of [valeurs]; one without a kind, with an unknown kind or a period below 1 s is
// told in the log and left out.
std::vector<ValueSetting> readValueSettings(const IniFile& ini, Log& log);

// Keeps the values of [valeurs] up to date: each command is run by /bin/sh -c every period, off
// the window's thread, and gives its first line (at most 127 characters); each file gives its
// first line the same way. A run lasts 10 s at most; one value never has two runs at once. A run
// that fails, times out or gives nothing keeps the last value and says so once in the log, until
// the value comes back. Nothing here ever waits on a command or a file: a FIFO, a file system
// that does not answer or a command that hangs cost the window nothing.
class NamedValues : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int timeoutMs = 10000;
    };
    NamedValues(std::vector<ValueSetting> settings, Log& log, Limits limits,
                QObject* parent = nullptr);
    NamedValues(std::vector<ValueSetting> settings, Log& log, QObject* parent = nullptr)
        : NamedValues(std::move(settings), log, Limits{}, parent) {}
    ~NamedValues() override; // ends the commands still running

    // Runs every value now, then every period.
    void start();
    // The last value of `name` in the panel's character set (Windows-1252); empty before the
    // first result; nullopt when no entry has that name, so that %%val(name) stays as typed.
    std::optional<QByteArray> value(QByteArrayView name) const;

Q_SIGNALS:
    void changed(const QString& name); // a new value arrived

private:
    struct State;
    std::unique_ptr<State> state;
};
