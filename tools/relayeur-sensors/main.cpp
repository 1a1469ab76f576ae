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

const char kUsage[] = QT_TRANSLATE_NOOP(
    "relayeur-sensors",
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
    "Ctrl+C (SIGINT) ou SIGTERM arrête la publication et retire le bloc qu'elle a créé.\n");

// The tool's output is UTF-8, as the names and readings it shows.
QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

// One line on standard output.
void say(const QString& line) {
    print(line + u'\n');
}

// One line on standard error, under the tool's name.
void complain(const QString& text) {
    std::fputs(
        (QCoreApplication::translate("relayeur-sensors", "relayeur-sensors : %1").arg(text) + u'\n')
            .toLocal8Bit()
            .constData(),
        stderr);
}

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
    say(QCoreApplication::translate("relayeur-sensors", "Relevé écrit dans %1 :")
            .arg(fromStd(name)));
    for (size_t i = 0; i < slots.temps.size(); ++i) {
        std::printf("  temp%zu = %d °C\n", i + 1, data.Temp[i]);
    }
    for (size_t i = 0; i < slots.volts.size(); ++i) {
        std::printf("  volt%zu = %.3f V\n", i + 1, data.Volt[i]);
    }
    for (size_t i = 0; i < slots.fans.size(); ++i) {
        say(QCoreApplication::translate("relayeur-sensors", "  fan%1 = %2 tr/min")
                .arg(i + 1)
                .arg(data.Fan[i]));
    }
    say(QCoreApplication::translate("relayeur-sensors", "  fréquence = %1 MHz").arg(data.Freq));
    say(QCoreApplication::translate("relayeur-sensors", "  charge = %1 %")
            .arg(data.Charge, 0, 'f', 1));
}

void printList(const std::vector<Sensor>& sensors, const SlotAssignment& slots,
               const QString& heading, const QString& settings) {
    say(sensors.empty() ? QCoreApplication::translate("relayeur-sensors", "%1 : aucun").arg(heading)
                        : QCoreApplication::translate("relayeur-sensors", "%1 :").arg(heading));
    for (const std::string& line : listSensors(sensors, slots)) {
        std::printf("  %s\n", line.c_str());
    }
    const std::vector<std::string> taken = describeSlots(slots);
    say(taken.empty()
            ? QCoreApplication::translate("relayeur-sensors", "Emplacements (%1) : aucun")
                  .arg(settings)
            : QCoreApplication::translate("relayeur-sensors", "Emplacements (%1) :").arg(settings));
    for (const std::string& line : taken) {
        std::printf("  %s\n", line.c_str());
    }
}

int removeBlock(const std::string& name) {
    int error = 0;
    if (PublishedBlock::remove(name, error)) {
        say(QCoreApplication::translate("relayeur-sensors", "Bloc %1 retiré.").arg(fromStd(name)));
        return 0;
    }
    if (error == ENOENT) {
        say(QCoreApplication::translate("relayeur-sensors", "Aucun bloc %1 à retirer.")
                .arg(fromStd(name)));
        return 0;
    }
    if (error == EWOULDBLOCK) {
        complain(QCoreApplication::translate(
                     "relayeur-sensors",
                     "le bloc %1 est publié par un relayeur-sensors en cours : arrêtez-le d'abord")
                     .arg(fromStd(name)));
        return 1;
    }
    complain(
        QCoreApplication::translate("relayeur-sensors", "impossible de retirer le bloc %1 : %2")
            .arg(fromStd(name), systemError(error)));
    return 1;
}

// At the end of a publication: the block goes if this publisher made it. One it found there
// stays as it was found, left behind on purpose or by a publisher that crashed.
int endPublication(const PublishedBlock& block, const std::string& name) {
    if (!block.created()) {
        say(QCoreApplication::translate("relayeur-sensors",
                                        "Bloc %1 laissé en place : il existait avant cette "
                                        "publication (relayeur-sensors --remove pour le retirer).")
                .arg(fromStd(name)));
        return 0;
    }
    int error = 0;
    if (!block.removeOwn(error)) {
        complain(
            QCoreApplication::translate("relayeur-sensors", "impossible de retirer le bloc %1 : %2")
                .arg(fromStd(name), systemError(error)));
        return 1;
    }
    say(QCoreApplication::translate("relayeur-sensors", "Bloc %1 retiré.").arg(fromStd(name)));
    return 0;
}

bool publish(const PublishedBlock& block, const MbmData& data, const std::string& name) {
    if (block.write(serialiseBlock(data))) {
        return true;
    }
    complain(QCoreApplication::translate("relayeur-sensors", "écriture du bloc %1 impossible : %2")
                 .arg(fromStd(name), systemError(errno)));
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
        print(QCoreApplication::translate("relayeur-sensors", kUsage));
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
            complain(
                QCoreApplication::translate("relayeur-sensors", "libsensors ne démarre pas : %1")
                    .arg(fromStd(libsensors->problem())));
        }
        sensors = libsensors->sensors();
    } else {
        sensors = listHwmon(options->hwmon);
    }
    const SensorsIni ini = loadSensorsIni(options->config);
    for (const std::string& problem : ini.problems) {
        complain(fromStd(problem));
    }
    if (options->list) {
        printList(
            sensors, assignSlots(sensors, ini.map),
            options->hwmon.empty()
                ? QCoreApplication::translate("relayeur-sensors", "Capteurs vus par libsensors")
                : QCoreApplication::translate("relayeur-sensors", "Capteurs sous %1")
                      .arg(fromStd(source)),
            ini.found
                ? fromStd(options->config)
                : QCoreApplication::translate("relayeur-sensors", "ordre par défaut, %1 absent")
                      .arg(fromStd(options->config)));
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
        complain(QCoreApplication::translate("relayeur-sensors",
                                             "un autre relayeur-sensors publie déjà le bloc %1 : "
                                             "celui-ci s'arrête sans y toucher")
                     .arg(fromStd(options->name)));
        return 1;
    }
    if (!block) {
        complain(
            QCoreApplication::translate("relayeur-sensors", "impossible de créer le bloc %1 : %2")
                .arg(fromStd(options->name), systemError(error)));
        return 1;
    }
    for (const std::string& line : describeSlots(sampler.slots)) {
        std::printf("%s\n", line.c_str());
    }
    if (sampler.slots.empty()) {
        say(QCoreApplication::translate("relayeur-sensors",
                                        "Aucun capteur matériel (%1) : seules la charge et la "
                                        "fréquence du processeur sont publiées.")
                .arg(fromStd(source)));
    }
    if (sampler.slots.leftOut > 0) {
        say(QCoreApplication::translate(
                "relayeur-sensors",
                "%1 capteur(s) de plus que les dix emplacements de leur sorte : non publiés.")
                .arg(sampler.slots.leftOut));
    }
    if (sampler.slots.unreadable > 0) {
        say(QCoreApplication::translate("relayeur-sensors",
                                        "%1 capteur(s) illisible(s) : non publiés.")
                .arg(sampler.slots.unreadable));
    }
    if (!publish(*block, data, options->name)) {
        return 1;
    }
    if (options->once) {
        printSample(data, sampler.slots, options->name);
        say(QCoreApplication::translate(
            "relayeur-sensors",
            "Le bloc reste en place (relayeur-sensors --remove pour le retirer)."));
        return 0;
    }
    say(QCoreApplication::translate(
            "relayeur-sensors", "Publication chaque seconde dans le bloc %1 ; Ctrl+C pour arrêter.")
            .arg(fromStd(options->name)));
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
