// Loading a profile of 50 full pages, with its log of some 300 lines, as a user opens one: in the
// program's own French, and in English with the translation installed.
#include "platform/IniFile.h"
#include "platform/MessagesLanguage.h"
#include "profile/LoadProfile.h"

#include <QCoreApplication>
#include <QTranslator>
#include <benchmark/benchmark.h>

namespace {

// Keeps the lines the way the window's list does, one string each.
class KeptLog : public Log {
public:
    QStringList lines;
    void add(const QString& line) override { lines.append(line); }
    void selectLast() override {}
};

QByteArray fiftyPages() {
    QByteArray text = "[param]\nnb_pages=50\nplein=#\nvide=-\nIp_Local_Ex=\n";
    for (int p = 1; p <= 50; ++p) {
        text += "[page_" + QByteArray::number(p) + "]\n";
        for (int l = 0; l < 4; ++l) {
            text += "ligne" + QByteArray::number(l) + "=Page " + QByteArray::number(p) +
                    " ligne %%time %%mem_l Mo\nscroll" + QByteArray::number(l) + "=" +
                    QByteArray::number(l % 3) + "\n";
        }
        text += "time=5\nnext=" + QByteArray::number(p % 50 + 1) + "\n";
    }
    return text;
}

void BM_LoadProfile50Pages(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "relayeur_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    std::unique_ptr<QTranslator> english;
    if (state.range(0) == 1) {
        english = installTranslation(QStringLiteral("relayeur"), QStringLiteral("en"),
                                     {QStringLiteral(RELAYEUR_TRANSLATIONS_DIR)});
        if (!english) {
            state.SkipWithError("relayeur_en.qm not built");
            return;
        }
    }
    const IniFile ini = IniFile::parse(fiftyPages());
    PageModel pages;
    ProfileParams params;
    for (auto _ : state) {
        KeptLog log;
        benchmark::DoNotOptimize(
            LoadProfile(QStringLiteral("bench.tlcd"), ini, {pages, params, log, [] {}}));
        benchmark::DoNotOptimize(log.lines.size());
    }
}
BENCHMARK(BM_LoadProfile50Pages)->ArgName("english")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
