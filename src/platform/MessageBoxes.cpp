#include "MessageBoxes.h"

#include <QRegularExpression>
#include <cstdio>

QString QuietMessageBoxes::oneLine(const QString& title, const QString& text) {
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n]+"));
    return title + QStringLiteral(" : ") + QString(text).replace(lineBreaks, QStringLiteral(" "));
}

void QuietMessageBoxes::show(const QString& title, const QString& text, MessageIcon) {
    std::fprintf(stderr, "%s\n", oneLine(title, text).toUtf8().constData());
    std::fflush(stderr);
}
