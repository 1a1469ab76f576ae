// Bargraph over any line, any 16-bit column count (the type of the C setting) and any cell
// texts a profile can give.
#include "FuzzSupport.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::French, QLocale::France),
                                      QLocale(QLocale::German, QLocale::Switzerland),
                                      QLocale(QLocale::Arabic, QLocale::Egypt)};
    FuzzedDataProvider in(data, size);
    const int columns = in.ConsumeIntegral<qint16>();
    const QLocale& locale = locales[in.ConsumeIntegralInRange<size_t>(0, std::size(locales) - 1)];
    const QByteArray plein = QByteArray::fromStdString(in.ConsumeRandomLengthString(127));
    const QByteArray vide = QByteArray::fromStdString(in.ConsumeRandomLengthString(127));
    const QByteArray text = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    const QByteArray bar = Bargraph(text, columns, plein, vide, locale);
    if (bar == kBargraphError) {
        return 0;
    }
    FUZZ_CHECK(bar.endsWith(']') && bar.contains('['));
    // Never more cells than the panel has columns, and one beyond to show a value over the top.
    const qsizetype cell = std::max({plein.size(), vide.size(), qsizetype(1)});
    FUZZ_CHECK(bar.size() <= text.size() + 3 + (std::abs(columns) + 1) * cell);
    return 0;
}
