#pragma once

#include <QString>
#include <QStringList>

// Every question the program asks goes through this, so that tests can answer it. A question
// offers its answers as buttons, the first one the default; escaping it gives the last one.
class QuestionBoxes {
public:
    virtual ~QuestionBoxes() = default;
    // The index in `answers` of the one chosen.
    virtual int ask(const QString& title, const QString& text, const QStringList& answers) = 0;
};
