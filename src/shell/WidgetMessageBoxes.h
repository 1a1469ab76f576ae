#pragma once

#include "platform/MessageBoxes.h"
#include "platform/QuestionBoxes.h"

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

// Modal questions on screen, over the window that asks them.
class WidgetQuestionBoxes : public QuestionBoxes {
public:
    explicit WidgetQuestionBoxes(QWidget* parent = nullptr) : parent(parent) {}
    int ask(const QString& title, const QString& text, const QStringList& answers) override;
    void setParent(QWidget* p) { parent = p; }

private:
    QWidget* parent;
};
