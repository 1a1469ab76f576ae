#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <utility>

// Holds the boxes a source raises during a refresh and shows them once the frame is out, so that
// no handler runs nested inside the refresh.
class HeldMessageBoxes : public MessageBoxes {
public:
    explicit HeldMessageBoxes(MessageBoxes* shown) : shown(shown) {}
    void show(const QString& title, const QString& text, MessageIcon icon) override {
        held.append({title, text, icon});
    }
    void release() {
        const QList<Box> boxes = std::exchange(held, {});
        for (const Box& box : boxes) {
            shown->show(box.title, box.text, box.icon);
        }
    }

private:
    struct Box {
        QString title;
        QString text;
        MessageIcon icon;
    };
    MessageBoxes* shown;
    QList<Box> held;
};
