#pragma once

#include <QByteArray>
#include <QColor>
#include <QTimer>
#include <QWidget>

class OnScreenPanel;

// The on-screen panel: what its controllers show, drawn dot by dot as on a backlit panel.
class LcdWidget : public QWidget {
    Q_OBJECT
public:
    explicit LcdWidget(const OnScreenPanel& panel, QWidget* parent = nullptr);

    // Asks for a repaint once the current burst of changes to the model is over, and only if
    // the panel then looks different from what was last painted.
    void modelChanged();
    const OnScreenPanel& model() const { return panel; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The rectangle of one dot (row 0-7, dot 0-4 from the left) of a character cell.
    QRectF dotRect(int line, int column, int row, int dot) const;
    // The colour a dot is drawn in, given whether it is lit.
    static QColor dotColour(bool lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void repaintIfChanged();

    const OnScreenPanel& panel;
    QTimer settle;
    QByteArray painted; // the model's appearance when last painted
};
