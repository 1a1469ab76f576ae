#pragma once

#include "platform/MessageBoxes.h"

class QWidget;

// Modal message boxes on screen, each with an OK button.
class WidgetMessageBoxes : public MessageBoxes {
public:
    explicit WidgetMessageBoxes(QWidget* parent = nullptr) : parent(parent) {}
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    void setParent(QWidget* p) { parent = p; }

private:
    QWidget* parent;
};
