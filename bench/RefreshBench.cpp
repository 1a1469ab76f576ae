// One refresh of a 20x4 page with live values on the on-screen panel: what every tick of the
// refresh timer costs the program.
#include "drivers/OnScreenPanel.h"
#include "platform/MessageBoxes.h"
#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/RefreshLCD.h"
#include "sources/NetworkAddress.h"
#include "sources/mbm.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A sensor block as relayeur-sensors publishes it, under a name of this run's own.
struct SensorBlock {
    QString name = QStringLiteral("/relayeur-bench-%1").arg(::getpid());
    SensorBlock() {
        const int fd = ::shm_open(name.toLocal8Bit().constData(), O_CREAT | O_RDWR, 0600);
        QByteArray bytes(MbmLayout::kSize, '\0');
        const qint32 temp = 47;
        std::memcpy(bytes.data() + MbmLayout::kTemp, &temp, sizeof temp);
        [[maybe_unused]] const ssize_t written = ::write(fd, bytes.constData(), bytes.size());
        ::close(fd);
    }
    ~SensorBlock() { ::shm_unlink(name.toLocal8Bit().constData()); }
};

void BM_RefreshLiveValues(benchmark::State& state) {
    SensorBlock block;
    MbmLink link;
    link.blockName = block.name;
    QuietMessageBoxes boxes;

    DisplayConfig config;
    config.C = 20;
    config.L = 4;
    config.TypeLCD = 1;
    PresenceFlags flags;
    flags.MbmPresent = true;
    ProfileParams params{"-", "#", "127."};

    OnScreenPanel panel(20, 4);
    LcdOutput out;
    out.panels[1] = &panel;
    panel.init();

    PageModel pages;
    const QByteArray lines[4] = {"Libre %%mem_l Mo", "%%date %%time",
                                 "CPU %%temp1\xB0"
                                 "C",
                                 "0 100 42 Charge"};
    const qint16 modes[4] = {0, 0, 0, 4};
    for (int l = 0; l < 4; ++l) {
        pages.CurrentLines[l] = freshLine(lines[l], modes[l]);
        pages.LineTemplate[l] = lines[l];
    }

    VariableSources sources;
    sources.memoryStatus = &readMemoryStatus;
    sources.mbmValue = [&](qint16 index, const QString& kind) {
        return MbmValue(link, boxes, QStringLiteral("Relayeur"), index, kind);
    };
    sources.ipAddresses = [&](const QByteArray& separator) {
        return IpAddresses(separator, params.Ip_Local_Ex, &systemAdapterAddresses);
    };
    sources.now = &QDateTime::currentDateTime;
    sources.locale = QLocale(QLocale::French, QLocale::France);

    const RefreshTarget target{pages, config, out,
                               [&] {
                                   ExpandVariables({pages, config, flags, sources});
                               },
                               [&](const QByteArray& text) {
                                   return Bargraph(text, config.C, params.plein, params.vide,
                                                   sources.locale);
                               }};
    for (auto _ : state) {
        RefreshLCD(target);
    }
    benchmark::DoNotOptimize(panel.model().line(0));
}
BENCHMARK(BM_RefreshLiveValues)->Unit(benchmark::kMicrosecond);

} // namespace
