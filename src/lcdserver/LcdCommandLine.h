#pragma once

#include <QByteArrayView>
#include <QVarLengthArray>

inline constexpr int kMaxLcdWords = 39;

// The words of one client line, split as LCDd splits them: blanks (space, tab, CR) part words;
// "..." and {...} quote blanks (a quote also ends its word); a backslash takes the next byte as
// it is, \n \r \t giving the control. A NUL or LF byte ends the line.
//
// The words are views of the object's own copy of the line, its escapes undone: a line is split
// for every command a client sends, and a command's words then cost no allocation. The object
// stays where it was made, so that the views stay valid.
class LcdWords {
public:
    explicit LcdWords(QByteArrayView line);
    LcdWords(const LcdWords&) = delete;
    LcdWords& operator=(const LcdWords&) = delete;

    // False when LCDd refuses the line ("Could not parse command"): a quote left open, a
    // backslash at the end, or more than kMaxLcdWords words.
    bool parsed() const { return parsed_; }
    qsizetype size() const { return words_.size(); }
    bool isEmpty() const { return words_.isEmpty(); }
    QByteArrayView operator[](qsizetype i) const { return words_[i]; }

private:
    QVarLengthArray<char, 256> bytes_;
    QVarLengthArray<QByteArrayView, kMaxLcdWords + 1> words_;
    bool parsed_ = false;
};
