#pragma once

#include "drivers/LcddProtocol.h"
#include "drivers/Panel.h"
#include "model/FaultReport.h"
#include "model/Log.h"
#include "platform/FileDescriptor.h"
#include "platform/HostLookup.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

// A panel driven by LCDd, the LCDproc server, over its TCP client protocol: one screen in the
// foreground with a string widget per line, and LCDd's big numbers for the big clock. Each frame
// goes as one write holding only the lines that changed (LCDd keeps what it shows); a line the
// frame does not write keeps its text. A server that is missing, goes away, answers nonsense or
// does not answer is told once; it is then tried again every second, and the screen made again when
// it is back. Once the server has answered "hello", what it sends wakes nobody: it is taken before
// each refresh draws (takeInput), so a panel fed every 500 ms costs two wake-ups a second.
class LcddPanel : public QObject, public Panel {
    Q_OBJECT

public:
    LcddPanel(LcddAddress address, int columns, int lines, Log& log, QObject* parent = nullptr);
    ~LcddPanel() override;

    void reset() override;
    void show(const Frame& frame) override;
    // LCDd maps Latin-1 to its panels' characters itself.
    PanelCharacters characters() const override { return {true, 0}; }
    // The screen's backlight, which LCDd switches while the screen shows.
    bool setBacklight(bool on) override;

    bool connected() const { return ready; }
    // What LCDd sent since the last call, without waiting: its keys are reported, a closed or
    // broken connection is told and tried again. Also done when no refresh asked for a while.
    void takeInput() override;

Q_SIGNALS:
    // A key of the panel that this client asked LCDd for: "Up" or "Down".
    void keyPressed(const QString& key);

private:
    void connectToServer();
    void tryAddress(std::size_t index, int error);
    void connectionMade();
    void dropLookup();
    void readGreeting();
    void takeLines();
    void greet(const QByteArray& line);
    void lose(const QString& reason);
    void send(const QByteArray& commands);
    QByteArray frameCommands();
    QByteArray setUpCommands();
    QByteArray clockCommands(const std::optional<ClockTime>& clock);
    QString where() const;

    LcddAddress address;
    int columns;
    int lines;
    Log& log;
    std::unique_ptr<HostLookup> lookup; // until a connection is made
    std::size_t addressTried = 0;       // the lookup's address being connected to
    bool connecting = false;            // until the connection is made or refused
    FileDescriptor connection;
    // Writes are watched only while some wait; reads only until the server has answered "hello".
    QSocketNotifier writable{QSocketNotifier::Write};
    QSocketNotifier readable{QSocketNotifier::Read};
    QByteArray unsent;      // commands the connection did not take yet
    QTimer quiet;           // no refresh took the input for that long: it is taken anyway
    QTimer greetingTimeout; // the server has that long to answer "hello"
    QTimer retry;           // the next attempt after a failure
    FaultLatch failure;
    bool wanted = false; // reset() has run: the server should be reached
    bool ready = false;  // the server answered and the screen exists
    bool sizeTold = false;
    LcddSize size;                       // the server's
    std::array<QByteArray, 4> texts;     // what the frames wrote, per line
    std::optional<ClockTime> clock;      // the big clock of the last frame
    std::array<QByteArray, 4> shown;     // what LCDd holds, per line widget
    std::optional<ClockTime> shownClock; // the big numbers LCDd holds
    bool latin1 = false;                 // the last frame's texts are Latin-1, not ROM codes
    bool backlit = true;                 // the screen's backlight, again on a new screen
    QByteArray received;                 // a reply not ended yet
};
