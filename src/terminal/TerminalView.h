#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdio>

class OnScreenPanel;

// The panel as UTF-8 text: a frame of box-drawing characters around one terminal cell per
// character.
QByteArray renderTerminalFrame(const OnScreenPanel& panel);

// Prints the on-screen panel under a title line, with the log lines above it, whenever what it
// shows changes; a refresh that leaves the panel as it was prints nothing. On a terminal the
// panel keeps its place below the log and is redrawn there; anywhere else (a file, a pipe) each
// new look is written after the last as plain lines, without a single escape code.
class TerminalView : public QObject {
    Q_OBJECT
public:
    TerminalView(OnScreenPanel& panel, std::FILE* out, QString title, QObject* parent = nullptr);
    // Prints the panel's last look if it is not printed yet: the reset of the way out.
    ~TerminalView() override;

    // Names what is shown (profile, page) above the panel.
    void setTitle(const QString& text);
    // One line of the log, printed above the panel.
    void printLog(const QString& line);

private:
    QByteArray frame() const;
    QByteArray backToFrameTop() const;
    void draw();
    void put(const QByteArray& text);

    OnScreenPanel& panel;
    std::FILE* out;
    bool terminal;
    QByteArray title;   // in UTF-8
    QByteArray drawn;   // the last frame printed
    int drawnLines = 0; // how far up the last frame printed on a terminal begins
};
