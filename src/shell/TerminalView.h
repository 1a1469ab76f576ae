#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdio>

class OnScreenPanel;

// The panel as text: a frame of box-drawing characters around one terminal cell per character.
QString renderTerminalFrame(const OnScreenPanel& panel);

// Prints the on-screen panel in the terminal and redraws it in place whenever what it shows
// changes; a refresh that leaves the panel as it was prints nothing.
class TerminalView : public QObject {
    Q_OBJECT
public:
    TerminalView(OnScreenPanel& panel, std::FILE* out, QObject* parent = nullptr);

private:
    void draw();

    OnScreenPanel& panel;
    std::FILE* out;
    QTimer redraw; // coalesces the many changes of one refresh into one drawing
    int drawnLines = 0;
    QString drawn; // the last frame printed
};
