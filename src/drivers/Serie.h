#pragma once

#include "drivers/Panel.h"
#include "model/FaultReport.h"
#include "model/Log.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

class SerialLine;

// A panel with its own controller on a serial line at 9600,n,8,1. Bytes are queued and go out
// from the event loop, so the window never waits on the line. A device that cannot be opened or
// that goes away is reported once; after that, every refresh tries it again (once a second at
// most), so a panel that is plugged back in comes back by itself, reset as reset() would.
class SerialPanel : public QObject, public Panel {
    Q_OBJECT

public:
    SerialPanel(QString device, Log& log, QObject* parent = nullptr);
    ~SerialPanel() override;

    void reset() override;
    // Every line of every frame, each after its line start, as the panel has always been fed.
    void show(const Frame& frame) override;

private:
    void lineStart(int line);
    void write(const QByteArray& text);
    bool open();
    void reopen();
    void send(const QByteArray& bytes);
    void sendHeld();
    void onWritable();
    void drain();
    void lose(int error);

    QString device;
    Log& log;
    std::unique_ptr<SerialLine> port;                       // set while the line is open
    QSocketNotifier writable{QSocketNotifier::Write, this}; // on while bytes wait for the line
    QByteArray pending;                                     // queued, not yet taken by the line
    bool wanted = false;       // reset() has run: the line should be open
    FaultLatch failure;        // the device's, told until the port opens again
    QElapsedTimer lastAttempt; // the last try to open the device
    bool holding = false;      // this refresh waits for the line to drain
    QByteArray held;
};
