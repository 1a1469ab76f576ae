#pragma once

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <vector>

class OnScreenPanel;

// The on-screen panel: what its controllers show, drawn dot by dot as on a backlit panel.
class LcdWidget : public QWidget {
    Q_OBJECT
public:
    explicit LcdWidget(const OnScreenPanel& panel, QWidget* parent = nullptr);

    // Repaints the characters that look different from what was last painted, and only those:
    // called once the panel has taken a frame.
    void modelChanged();
    const OnScreenPanel& model() const { return panel; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The rectangle of one dot (row 0-7, dot 0-4 from the left) of a character cell.
    QRectF dotRect(int line, int column, int row, int dot) const;
    // The colour a dot is drawn in, given whether it is lit.
    static QColor dotColour(bool lit);

Q_SIGNALS:
    // A key of the panel, as LCDd names it (Up, Down, Left, Right, Enter, Escape): the arrows,
    // Enter and Escape of the keyboard while the panel has the focus.
    void keyPressed(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The dots of a cell, five bits a row from the top row up: equal looks are drawn alike.
    using Look = quint64;
    Look lookAt(int line, int column) const;
    QRect cellRect(int line, int column) const;
    const QPixmap& pixmapOf(Look look);

    const OnScreenPanel& panel;
    std::vector<Look> painted;  // per cell, line by line, the look last painted
    QHash<Look, QPixmap> drawn; // one picture per look met, at the current pixel ratio
    qreal drawnRatio = 0;
    bool litPainted = true; // the panel's backlight as last painted
};
