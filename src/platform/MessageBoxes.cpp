#include "MessageBoxes.h"

#include <cstdio>

QString QuietMessageBoxes::oneLine(const QString& title, const QString& text) {
    QString line = title + QStringLiteral(" : ");
    line.reserve(line.size() + text.size());
    bool inBreak = false;
    for (const QChar c : text) {
        const bool lineBreak = c == QLatin1Char('\r') || c == QLatin1Char('\n');
        if (!lineBreak) {
            line += c;
        } else if (!inBreak) {
            line += QLatin1Char(' ');
        }
        inBreak = lineBreak;
    }
    return line;
}

void QuietMessageBoxes::show(const QString& title, const QString& text, MessageIcon) {
    std::fprintf(stderr, "%s\n", oneLine(title, text).toUtf8().constData());
    std::fflush(stderr);
}
