#pragma once

#include "platform/QuestionBoxes.h"

#include <QList>

// Answers each question with the next answer of its script, by its text, and records it. With no
// answer left, or an answer the question does not offer, it escapes the question (its last
// answer).
class ScriptedQuestions : public QuestionBoxes {
public:
    struct Question {
        QString title, text;
        QStringList answers;
    };
    int ask(const QString& title, const QString& text, const QStringList& answers) override {
        asked.append({title, text, answers});
        const QString answer = script.isEmpty() ? QString() : script.takeFirst();
        const int chosen = static_cast<int>(answers.indexOf(answer));
        return chosen >= 0 ? chosen : static_cast<int>(answers.size()) - 1;
    }
    QStringList script;
    QList<Question> asked;
};
