#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <functional>

// Records every box instead of showing it; `onShow` runs as each one is shown.
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Box {
        QString title, text;
        MessageIcon icon;
    };
    void show(const QString& title, const QString& text, MessageIcon icon) override {
        boxes.append({title, text, icon});
        if (onShow) {
            onShow();
        }
    }
    QList<Box> boxes;
    std::function<void()> onShow;
};
