#include "drivers/GpioModule.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <thread>

using namespace std::chrono_literals;

namespace {

const char kConsumer[] = "relayeur";
// How the pins are written, as the problems with them remind the user.
QString pinsForm() {
    return QCoreApplication::translate(
        "GpioModule", "RS,E,D4,D5,D6,D7[,BL[,E2]], par exemple 7,8,25,24,23,18,15");
}
constexpr int kBacklightField = 6;

// E stays high at least this long: 450 ns in the datasheet.
constexpr auto kEnableHigh = 500ns;
// Shorter waits are kept by watching the clock, longer ones by sleeping.
constexpr auto kLongWait = 1ms;

void waitUntil(std::chrono::steady_clock::time_point time) {
    while (std::chrono::steady_clock::now() < time) {
    }
}

} // namespace

std::optional<GpioLines> parseGpioLines(const QString& text, QString& error) {
    const QString given = text.trimmed();
    const auto problem = [&](const QString& what) {
        error = QCoreApplication::translate("GpioModule", "broches = %1 : %2").arg(given, what);
        return std::nullopt;
    };
    if (given.isEmpty()) {
        error = QCoreApplication::translate("GpioModule",
                                            "broches = (vide) : aucune ligne GPIO indiquée (%1)")
                    .arg(pinsForm());
        return std::nullopt;
    }
    const QStringList fields = given.split(u',');
    if (fields.size() < 6 || fields.size() > 8) {
        return problem(QCoreApplication::translate(
                           "GpioModule", "6 à 8 numéros de ligne attendus, %1 donnés (%2)")
                           .arg(fields.size())
                           .arg(pinsForm()));
    }
    std::vector<std::optional<unsigned>> numbers;
    QSet<unsigned> seen;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString field = fields[i].trimmed();
        if (field.isEmpty() && i == kBacklightField) {
            numbers.emplace_back();
            continue;
        }
        bool ok = false;
        const unsigned number = field.toUInt(&ok);
        if (!ok) {
            return problem(QCoreApplication::translate("GpioModule",
                                                       "« %1 » n'est pas un numéro de ligne (%2)")
                               .arg(field, pinsForm()));
        }
        if (seen.contains(number)) {
            return problem(
                QCoreApplication::translate("GpioModule", "la ligne %1 est donnée deux fois")
                    .arg(number));
        }
        seen.insert(number);
        numbers.emplace_back(number);
    }
    numbers.resize(8);
    return GpioLines{*numbers[0], *numbers[1], *numbers[2], *numbers[3],
                     *numbers[4], *numbers[5], numbers[6],  numbers[7]};
}

QString describeGpioLines(const GpioLines& lines) {
    QString text = QStringLiteral("RS %1, E %2, D4–D7 %3, %4, %5, %6")
                       .arg(lines.rs)
                       .arg(lines.e)
                       .arg(lines.d4)
                       .arg(lines.d5)
                       .arg(lines.d6)
                       .arg(lines.d7);
    if (lines.backlight) {
        text +=
            QCoreApplication::translate("GpioModule", ", rétroéclairage %1").arg(*lines.backlight);
    }
    if (lines.e2) {
        text += QStringLiteral(", E2 %1").arg(*lines.e2);
    }
    return text;
}

QString gpioChipPath(const QString& chip) {
    const QString given = chip.trimmed();
    return given.contains(u'/') ? given : QStringLiteral("/dev/") + given;
}

GpioModule::GpioModule(const QString& chip, const QString& pins, const ModuleSettings& settings)
    : chipName(chip.trimmed()), pinsText(pins.trimmed()), path(gpioChipPath(chip)),
      lines(parseGpioLines(pins, linesProblem)), settings(settings) {
    if (!lines) {
        return;
    }
    wires.emplace(*lines);
    module.emplace(*wires, settings.columns, settings.lines);
    if (module->controllers() > 1 && !lines->e2) {
        linesProblem = QCoreApplication::translate(
                           "GpioModule", "broches = %1 : un afficheur %2x%3 a deux contrôleurs, "
                                         "ajoutez la ligne de E2 après BL (%4,E2)")
                           .arg(pinsText)
                           .arg(module->columns())
                           .arg(module->lines())
                           .arg(pinsForm());
        lines.reset();
    }
}

bool GpioModule::open(QString& error) {
    close();
    if (!lines) {
        error = linesProblem;
        return false;
    }
    chip.reset(gpiod_chip_open(path.toLocal8Bit().constData()));
    if (!chip) {
        error = reason(errno);
        return false;
    }
    std::vector<unsigned> offsets = wires->offsets();
    const unsigned count = gpiod_chip_num_lines(chip.get());
    for (const unsigned offset : offsets) {
        if (offset >= count) {
            error = QCoreApplication::translate(
                        "GpioModule",
                        "broches = %1 : la ligne %2 n'existe pas, %3 a %4 lignes (0 à %5)")
                        .arg(pinsText)
                        .arg(offset)
                        .arg(chipName)
                        .arg(count)
                        .arg(count - 1);
            close();
            return false;
        }
    }
    gpiod_line_bulk bulk;
    const std::vector<int> low(offsets.size(), 0);
    if (gpiod_chip_get_lines(chip.get(), offsets.data(), static_cast<unsigned>(offsets.size()),
                             &bulk) != 0 ||
        gpiod_line_request_bulk_output(&bulk, kConsumer, low.data()) != 0) {
        const int failure = errno;
        error = failure == EBUSY ? busyReason(count) : reason(failure);
        close();
        return false;
    }
    request.emplace(bulk);
    wires->attach(&*request);
    module->setBacklight(settings.backlight != 0);
    module->initialise();
    if (!sent(error)) {
        close();
        return false;
    }
    return true;
}

void GpioModule::close() {
    if (wires) {
        wires->attach(nullptr);
    }
    request.reset();
    chip.reset();
}

// Only a wired BL line switches the backlight.
bool GpioModule::hasBacklight() const {
    return lines && lines->backlight;
}

bool GpioModule::setBacklight(bool on, QString& error) {
    module->setBacklight(on && settings.backlight != 0);
    return sent(error);
}

bool GpioModule::write(int line, int column, const QByteArray& codes, QString& error) {
    module->write(line, column, codes);
    return sent(error);
}

bool GpioModule::defineGlyph(int slot, const GlyphRows& rows, QString& error) {
    module->defineGlyph(slot, rows);
    return sent(error);
}

bool GpioModule::sent(QString& error) const {
    const int failure = wires->failure();
    if (failure != 0) {
        error = reason(failure);
    }
    return failure == 0;
}

QString GpioModule::reason(int error) const {
    QString text;
    switch (error) {
    case ENOENT:
        text =
            QCoreApplication::translate(
                "GpioModule", "%1 introuvable : vérifiez le nom de la puce (gpiodetect la liste)")
                .arg(chipName);
        break;
    case EACCES:
    case EPERM:
        text = QCoreApplication::translate(
                   "GpioModule", "accès refusé à %1 : ajoutez l'utilisateur au groupe gpio (ou une "
                                 "règle udev), puis ouvrez une nouvelle session")
                   .arg(path);
        break;
    case ENOTTY:
    case ENODEV:
        text = QCoreApplication::translate("GpioModule", "%1 n'est pas une puce GPIO, ou a disparu")
                   .arg(path);
        break;
    default:
        text = QCoreApplication::translate("GpioModule", "erreur de la puce GPIO %1").arg(chipName);
        break;
    }
    return QStringLiteral("%1 (%2)").arg(text, qt_error_string(error));
}

// The kernel refuses the whole request: the line that someone holds is found from its state.
QString GpioModule::busyReason(unsigned count) const {
    for (const unsigned offset : wires->offsets()) {
        gpiod_line* line = offset < count ? gpiod_chip_get_line(chip.get(), offset) : nullptr;
        if (line && gpiod_line_is_used(line)) {
            const char* consumer = gpiod_line_consumer(line);
            return QCoreApplication::translate(
                       "GpioModule",
                       "la ligne %1 est déjà prise (par « %2 » : un autre programme ou un pilote "
                       "du noyau s'en sert ; libérez-la ou changez broches)")
                .arg(offset)
                .arg(QString::fromUtf8(consumer ? consumer : "?"));
        }
    }
    return reason(EBUSY);
}

GpioModule::Wires::Wires(const GpioLines& lines)
    : order{lines.rs, lines.e, lines.d4, lines.d5, lines.d6, lines.d7} {
    if (lines.backlight) {
        backlightAt = static_cast<int>(order.size());
        order.push_back(*lines.backlight);
    }
    if (lines.e2) {
        e2At = static_cast<int>(order.size());
        order.push_back(*lines.e2);
    }
    levels.assign(order.size(), 0);
}

void GpioModule::Wires::attach(Request* to) {
    request = to;
    // The lines were requested low.
    std::fill(levels.begin(), levels.end(), 0);
    readyAt = {};
    failed = 0;
}

void GpioModule::Wires::apply() {
    if (failed == 0 && request && !request->set(levels)) {
        failed = errno;
    }
}

void GpioModule::Wires::pulse(int controller, bool data, quint8 nibble) {
    constexpr int kRs = 0, kE = 1, kD4 = 2;
    waitUntil(readyAt);
    // RS must settle before E rises; D4-D7 only before it falls.
    const bool rsChanged = levels[kRs] != int(data);
    levels[kRs] = data;
    for (int bit = 0; bit < 4; ++bit) {
        levels[kD4 + bit] = (nibble >> bit) & 1;
    }
    if (rsChanged) {
        apply();
    }
    const int enable = controller == 1 && e2At >= 0 ? e2At : kE;
    levels[enable] = 1;
    apply();
    waitUntil(std::chrono::steady_clock::now() + kEnableHigh);
    levels[enable] = 0;
    apply();
}

void GpioModule::Wires::pause(std::chrono::microseconds time) {
    if (time >= kLongWait) {
        std::this_thread::sleep_for(time);
    } else {
        readyAt = std::chrono::steady_clock::now() + time;
    }
}

void GpioModule::Wires::setBacklight(bool on) {
    if (backlightAt >= 0) {
        levels[backlightAt] = on;
        apply();
    }
}

bool GpioModule::Request::set(const std::vector<int>& levels) {
    return gpiod_line_set_value_bulk(&held, levels.data()) == 0;
}
