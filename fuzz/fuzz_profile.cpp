// A profile of any bytes, read in memory as the program reads a file; once loaded, its pages go
// round as the page timer takes them, each refreshed onto a 20 x 4 panel.
#include "FuzzSupport.h"
#include "platform/IniFile.h"
#include "profile/LoadPage.h"
#include "profile/LoadProfile.h"

namespace {

// The log lines are made as the program makes them, then dropped: keeping the hundreds a profile
// of 50 pages logs would cost more than loading it.
struct DroppingLog : Log {
    void add(const QString&) override {}
    void selectLast() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const IniFile ini = IniFile::parse(fuzz::bytesOf(data, size));
    fuzz::PanelRun run(20, 4);
    DroppingLog log;
    int firstPages = 0;
    const bool loaded = static_cast<bool>(
        LoadProfile(QStringLiteral("profil.tlcd"), ini, {run.pages, run.params, log, [&] {
                                                             ++firstPages;
                                                             LoadPage(run.pages, 1);
                                                         }}));
    FUZZ_CHECK(firstPages == (loaded ? 1 : 0));
    if (!loaded) {
        return 0;
    }
    for (int p = 0; p <= kLastPage; ++p) {
        for (const LineRecord& line : run.pages.PageTable[p]) {
            FUZZ_CHECK(line.Text.size() <= 127 && line.Length == line.Text.size());
        }
        FUZZ_CHECK(run.pages.PageTiming[p][kPageTime] >= 0);
        FUZZ_CHECK(run.pages.PageTiming[p][kPageTime] <= 32);
        FUZZ_CHECK(run.pages.PageTiming[p][kPageNext] >= 0);
        FUZZ_CHECK(run.pages.PageTiming[p][kPageNext] <= kLastPage);
    }
    qint16 page = 1;
    for (int step = 0; step < 6; ++step) {
        const int ms = LoadPage(run.pages, page);
        FUZZ_CHECK(ms >= 0 && ms <= 32000);
        run.tick();
        run.tick();
        page = run.pages.NextPage;
    }
    return 0;
}
