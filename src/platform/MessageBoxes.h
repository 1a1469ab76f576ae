#pragma once

#include <QString>

enum class MessageIcon { None, Information, Exclamation, Critical };

// Every message box of the program goes through this, so that tests and --quiet never block.
// Each box has a single OK button.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
};

// Writes each box to standard error as one line, "title : text", and counts it as answered.
class QuietMessageBoxes : public MessageBoxes {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    static QString oneLine(const QString& title, const QString& text);
};
