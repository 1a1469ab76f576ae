// relayeur-sensors: publishes this machine's sensors in the shared block that Relayeur reads,
// laid out the way Motherboard Monitor laid it out.
#include "Block.h"
#include "Libsensors.h"
#include "Readings.h"
#include "SensorsIni.h"
#include "platform/CommandLineParser.h"
#include "platform/ServiceNotify.h"
#include "texts/ProgramTranslation.h"

#include <QCoreApplication>
#include <QTranslator>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

namespace {

const char kUsage[] =
    "Usage : relayeur-sensors [options]\n"
    "Publie chaque seconde les capteurs de cette machine (températures, tensions, ventilateurs,\n"
    "fréquence et charge du processeur) dans le bloc partagé que lit Relayeur. Les capteurs\n"
    "sont lus par libsensors ; sensors.ini dit lequel va dans quel emplacement.\n"
    "\n"
    "  --list             affiche les capteurs vus et l'emplacement de chacun, sans publier\n"
    "  --once             écrit un seul relevé, l'affiche et laisse le bloc en place\n"
    "  --remove           retire le bloc et s'arrête, sauf si un relayeur-sensors le publie\n"
    "  --name NOM         nom du bloc (par défaut /$M$B$M$5$D$)\n"
    "  --config FICHIER   les emplacements des capteurs (par défaut\n"
    "                     $XDG_CONFIG_HOME/relayeur/sensors.ini)\n"
    "  --hwmon DOSSIER    lit les capteurs dans cette arborescence hwmon plutôt que par\n"
    "                     libsensors (une copie de /sys/class/hwmon, des essais)\n"
    "  --help             affiche cette aide\n"
    "\n"
    "Un seul relayeur-sensors publie un bloc : une deuxième copie s'arrête sans y toucher.\n"
    "Ctrl+C (SIGINT) ou SIGTERM arrête la publication et retire le bloc qu'elle a créé.\n";

const std::filesystem::path kScalingCurFreq =
    "/sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq";
const std::filesystem::path kCpuinfo = "/proc/cpuinfo";
const std::filesystem::path kProcStat = "/proc/stat";

// The first sample measures the load over this much time, so that it is a current one too.
constexpr std::chrono::milliseconds kFirstInterval(250);
constexpr std::chrono::seconds kPeriod(1);

struct Options {
    bool list = false;
    bool once = false;
    bool remove = false;
    bool help = false;
    std::string name = kMbmBlockName.toStdString();
    std::string config = defaultSensorsIni();
    std::string hwmon; // empty: libsensors
};

// The options, or the mistake in them.
std::optional<Options> parseOptions(int argc, char** argv, QString& mistake) {
    Options options;
    const auto text = [](std::string& into) {
        return [&into](const QByteArray& value) {
            into = value.toStdString();
            return QString();
        };
    };
    mistake = cli::parse(cli::arguments(argc, argv),
                         {{"--list", nullptr, {}, [&] { options.list = true; }},
                          {"--once", nullptr, {}, [&] { options.once = true; }},
                          {"--remove", nullptr, {}, [&] { options.remove = true; }},
                          {"--help", "-h", {}, [&] { options.help = true; }},
                          {"--name", nullptr, text(options.name)},
                          {"--config", nullptr, text(options.config)},
                          {"--hwmon", nullptr, text(options.hwmon)}},
                         nullptr);
    if (!mistake.isEmpty() && !options.help) {
        return std::nullopt;
    }
    return options;
}

// SIGINT and SIGTERM are held back and taken with sigtimedwait between samples: one that comes
// while a sample is being written is not lost, and a stop always ends by removing the block.
sigset_t blockStopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    return stop;
}

// Waits until the deadline; false when a stop signal came first.
bool waitUntil(std::chrono::steady_clock::time_point deadline, const sigset_t& stop) {
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::max(deadline - std::chrono::steady_clock::now(),
                     std::chrono::steady_clock::duration::zero()));
        const timespec timeout{static_cast<time_t>(left.count() / 1000000000),
                               static_cast<long>(left.count() % 1000000000)};
        if (sigtimedwait(&stop, nullptr, &timeout) >= 0) {
            return false;
        }
        if (errno == EAGAIN) {
            return true;
        }
        // EINTR: another signal (a stop and continue, say); wait for what is left.
    }
}

struct Sampler {
    SlotAssignment slots;
    CpuTimes lastTimes;

    MbmData sample() {
        MbmData data = readSensors(slots);
        data.Freq = cpuFrequencyMhz(kScalingCurFreq, kCpuinfo);
        if (const std::optional<CpuTimes> now = readCpuTimes(kProcStat)) {
            data.Charge = loadPercent(lastTimes, *now);
            lastTimes = *now;
        }
        return data;
    }
};

void printSample(const MbmData& data, const SlotAssignment& slots, const std::string& name) {
    std::printf("Relevé écrit dans %s :\n", name.c_str());
    for (size_t i = 0; i < slots.temps.size(); ++i) {
        std::printf("  temp%zu = %d °C\n", i + 1, data.Temp[i]);
    }
    for (size_t i = 0; i < slots.volts.size(); ++i) {
        std::printf("  volt%zu = %.3f V\n", i + 1, data.Volt[i]);
    }
    for (size_t i = 0; i < slots.fans.size(); ++i) {
        std::printf("  fan%zu = %d tr/min\n", i + 1, data.Fan[i]);
    }
    std::printf("  fréquence = %d MHz\n", data.Freq);
    std::printf("  charge = %.1f %%\n", data.Charge);
}

void printList(const std::vector<Sensor>& sensors, const SlotAssignment& slots,
               const std::string& heading, const std::string& settings) {
    std::printf("%s :%s\n", heading.c_str(), sensors.empty() ? " aucun" : "");
    for (const std::string& line : listSensors(sensors, slots)) {
        std::printf("  %s\n", line.c_str());
    }
    const std::vector<std::string> taken = describeSlots(slots);
    std::printf("Emplacements (%s) :%s\n", settings.c_str(), taken.empty() ? " aucun" : "");
    for (const std::string& line : taken) {
        std::printf("  %s\n", line.c_str());
    }
}

int removeBlock(const std::string& name) {
    int error = 0;
    if (PublishedBlock::remove(name, error)) {
        std::printf("Bloc %s retiré.\n", name.c_str());
        return 0;
    }
    if (error == ENOENT) {
        std::printf("Aucun bloc %s à retirer.\n", name.c_str());
        return 0;
    }
    if (error == EWOULDBLOCK) {
        std::fprintf(stderr,
                     "relayeur-sensors : le bloc %s est publié par un relayeur-sensors en cours : "
                     "arrêtez-le d'abord\n",
                     name.c_str());
        return 1;
    }
    std::fprintf(stderr, "relayeur-sensors : impossible de retirer le bloc %s : %s\n", name.c_str(),
                 std::strerror(error));
    return 1;
}

// At the end of a publication: the block goes if this publisher made it. One it found there
// stays as it was found, left behind on purpose or by a publisher that crashed.
int endPublication(const PublishedBlock& block, const std::string& name) {
    if (!block.created()) {
        std::printf("Bloc %s laissé en place : il existait avant cette publication "
                    "(relayeur-sensors --remove pour le retirer).\n",
                    name.c_str());
        return 0;
    }
    int error = 0;
    if (!block.removeOwn(error)) {
        std::fprintf(stderr, "relayeur-sensors : impossible de retirer le bloc %s : %s\n",
                     name.c_str(), std::strerror(error));
        return 1;
    }
    std::printf("Bloc %s retiré.\n", name.c_str());
    return 0;
}

bool publish(const PublishedBlock& block, const MbmData& data, const std::string& name) {
    if (block.write(serialiseBlock(data))) {
        return true;
    }
    std::fprintf(stderr, "relayeur-sensors : écriture du bloc %s impossible : %s\n", name.c_str(),
                 std::strerror(errno));
    endPublication(block, name);
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Made for the translation of the texts alone, where they are translated, and before the
    // locale below: Qt sets the whole locale from the environment when it makes it.
    std::optional<QCoreApplication> application;
    if (translationWanted()) {
        application.emplace(argc, argv);
    }
    const std::unique_ptr<QTranslator> texts = installProgramTranslation();
    // System error texts in the user's language. Numbers stay in the C form: libsensors reads
    // the decimals of sensors.conf with the C library, which would take "1.5" as 1 in French.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    QString mistake;
    const std::optional<Options> options = parseOptions(argc, argv, mistake);
    if (!options) {
        std::fputs(cli::mistakeText(QStringLiteral("relayeur-sensors"), mistake).toLocal8Bit(),
                   stderr);
        return cli::kUsageError;
    }
    if (options->help) {
        std::printf("%s", kUsage);
        return 0;
    }
    if (options->remove) {
        return removeBlock(options->name);
    }
    // libsensors stays ready for as long as its sensors are read.
    std::optional<LibsensorsSession> libsensors;
    std::vector<Sensor> sensors;
    const std::string source = options->hwmon.empty() ? "libsensors" : options->hwmon;
    if (options->hwmon.empty()) {
        libsensors.emplace();
        if (!libsensors->problem().empty()) {
            std::fprintf(stderr, "relayeur-sensors : libsensors ne démarre pas : %s\n",
                         libsensors->problem().c_str());
        }
        sensors = libsensors->sensors();
    } else {
        sensors = listHwmon(options->hwmon);
    }
    const SensorsIni ini = loadSensorsIni(options->config);
    for (const std::string& problem : ini.problems) {
        std::fprintf(stderr, "relayeur-sensors : %s\n", problem.c_str());
    }
    if (options->list) {
        printList(sensors, assignSlots(sensors, ini.map),
                  options->hwmon.empty() ? "Capteurs vus par libsensors"
                                         : "Capteurs sous " + source,
                  ini.found ? options->config : "ordre par défaut, " + options->config + " absent");
        return 0;
    }

    const sigset_t stop = blockStopSignals();
    Sampler sampler{assignSlots(sensors, ini.map), {}};
    // The first sample is taken before the block exists, so that no reader sees it empty.
    sampler.lastTimes = readCpuTimes(kProcStat).value_or(CpuTimes{});
    auto next = std::chrono::steady_clock::now() + kFirstInterval;
    if (!waitUntil(next, stop)) {
        return 0;
    }
    const MbmData data = sampler.sample();

    int error = 0;
    const std::optional<PublishedBlock> block = PublishedBlock::acquire(options->name, error);
    if (!block && error == EWOULDBLOCK) {
        std::fprintf(stderr,
                     "relayeur-sensors : un autre relayeur-sensors publie déjà le bloc %s : "
                     "celui-ci s'arrête sans y toucher\n",
                     options->name.c_str());
        return 1;
    }
    if (!block) {
        std::fprintf(stderr, "relayeur-sensors : impossible de créer le bloc %s : %s\n",
                     options->name.c_str(), std::strerror(error));
        return 1;
    }
    for (const std::string& line : describeSlots(sampler.slots)) {
        std::printf("%s\n", line.c_str());
    }
    if (sampler.slots.empty()) {
        std::printf("Aucun capteur matériel (%s) : seules la charge et la fréquence du "
                    "processeur sont publiées.\n",
                    source.c_str());
    }
    if (sampler.slots.leftOut > 0) {
        std::printf("%d capteur(s) de plus que les dix emplacements de leur sorte : non publiés.\n",
                    sampler.slots.leftOut);
    }
    if (sampler.slots.unreadable > 0) {
        std::printf("%d capteur(s) illisible(s) : non publiés.\n", sampler.slots.unreadable);
    }
    if (!publish(*block, data, options->name)) {
        return 1;
    }
    if (options->once) {
        printSample(data, sampler.slots, options->name);
        std::printf("Le bloc reste en place (relayeur-sensors --remove pour le retirer).\n");
        return 0;
    }
    std::printf("Publication chaque seconde dans le bloc %s ; Ctrl+C pour arrêter.\n",
                options->name.c_str());
    std::fflush(stdout);
    notifyServiceReady();
    while (true) {
        // After a suspend, start the beat again rather than catch up.
        next = std::max(next + kPeriod, std::chrono::steady_clock::now());
        if (!waitUntil(next, stop)) {
            break;
        }
        if (!publish(*block, sampler.sample(), options->name)) {
            return 1;
        }
    }
    return endPublication(*block, options->name);
}
