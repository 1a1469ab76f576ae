#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdio>

class Hd44780;

// The panel as text: a frame of box-drawing characters around one terminal cell per character.
QString renderTerminalFrame(const Hd44780& panel);

// Prints the on-screen panel in the terminal and redraws it in place whenever what it shows
// changes; a refresh that leaves the panel as it was prints nothing.
class TerminalView : public QObject {
    Q_OBJECT
public:
    TerminalView(Hd44780& panel, std::FILE* out, QObject* parent = nullptr);

private:
    void draw();

    Hd44780& panel;
    std::FILE* out;
    QTimer redraw; // coalesces the many changes of one refresh into one drawing
    int drawnLines = 0;
    QString drawn; // the last frame printed
};
