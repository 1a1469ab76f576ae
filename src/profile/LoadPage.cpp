#include "profile/LoadPage.h"

int LoadPage(PageModel& model, qint16 page) {
    const int i = (page < 0 || page > kLastPage) ? 0 : page;
    for (int l = 0; l < kLinesPerPage; ++l) {
        const LineRecord& next = model.PageTable[i][l];
        if (!model.held.until[l] && model.LineTemplate[l] != next.Text) {
            model.CurrentLines[l] = next;
            model.LineTemplate[l] = next.Text;
        }
    }
    model.NextPage = model.PageTiming[i][kPageNext];
    model.ShownPage = static_cast<qint16>(i);
    // Times are kept within 0..32 s by the loader, so the product fits the 16-bit interval.
    return static_cast<qint16>(model.PageTiming[i][kPageTime] * 1000);
}

void putOnPage(PageModel& model, int line, const QByteArray& text, qint16 scrollMode) {
    model.CurrentLines[line] = freshLine(text, scrollMode);
    model.LineTemplate[line] = text;
    model.held.until[line].reset();
}

void holdOnPage(PageModel& model, int line, const QByteArray& text, qint16 scrollMode,
                qint64 untilMs) {
    putOnPage(model, line, text, scrollMode);
    model.held.until[line] = untilMs;
}

void releaseHeldLines(PageModel& model, qint64 nowMs) {
    for (int l = 0; l < kLinesPerPage; ++l) {
        std::optional<qint64>& until = model.held.until[l];
        if (until && *until <= nowMs) {
            until.reset();
            LineRecord back = model.PageTable[model.ShownPage][l];
            back.Pending = 1;
            model.CurrentLines[l] = back;
            model.LineTemplate[l] = back.Text;
        }
    }
}
