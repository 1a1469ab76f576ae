#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>
#include <functional>
#include <optional>

// The relayeur-sensors this run starts when the settings ask for it and no sensor block is
// published: it is ended with the run, and by the kernel when the program dies first, so that
// it never outlives the program that started it. A block already there is another publisher's,
// used as it is.
class SensorsPublisher : public QObject {
    Q_OBJECT
public:
    explicit SensorsPublisher(QObject* parent = nullptr);
    ~SensorsPublisher() override;

    // Starts `program` publishing `blockName`, unless the block exists already.
    void start(const QString& program, const QString& blockName);
    // Calls `told` with the log line that says what came of start(): at once when that is known,
    // else once the block is there, the program has failed or one second has passed.
    void whenSettled(std::function<void(const QString& outcome)> told);
    // Asks the publisher started to end (it then removes its block) and waits for it.
    void end();

Q_SIGNALS:
    // What the publisher says on its error output, and its end when it was not asked to end.
    void said(const QString& line);

private:
    void check();
    void settle(const QString& outcome);
    void relayErrors();

    QProcess process;
    QString block;
    QTimer poll;          // looks for the block while the publisher gets ready
    QElapsedTimer waited; // since the start
    bool ending = false;
    std::optional<QString> outcome;
    std::function<void(const QString&)> waiting;
};
