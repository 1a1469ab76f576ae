#include "drivers/I2cBackpack.h"

#include <QCoreApplication>
#include <cerrno>
#include <thread>

using namespace std::chrono_literals;

namespace {

const std::array<BackpackWiring, 3> kWirings = {{
    {1, 0, 1, 2, 3, 4, 5, 6, 7, true,
     QT_TRANSLATE_NOOP(
         "I2cBackpack",
         "1 : RS P0, RW P1, E P2, rétroéclairage P3 (allumé au niveau haut), D4–D7 P4–P7")},
    {2, 4, 5, 6, 7, 0, 1, 2, 3, false,
     QT_TRANSLATE_NOOP(
         "I2cBackpack",
         "2 : D4–D7 P0–P3, RS P4, RW P5, E P6, rétroéclairage P7 (allumé au niveau bas)")},
    {3, 6, 5, 4, 7, 0, 1, 2, 3, false,
     QT_TRANSLATE_NOOP(
         "I2cBackpack",
         "3 : D4–D7 P0–P3, E P4, RW P5, RS P6, rétroéclairage P7 (allumé au niveau bas)")},
}};

const QString kDefaultBus = QStringLiteral("/dev/i2c-1");
constexpr int kDefaultAddress = 0x27;
// The 7-bit addresses a device may take; those below and above are reserved by I2C.
constexpr int kFirstAddress = 0x03;
constexpr int kLastAddress = 0x77;

// At 100 kHz, the most a PCF8574 takes, a nibble's two bytes last 180 us: shorter waits pass
// on the bus itself.
constexpr auto kCoveredByBus = 100us;

// Hexadecimal, with or without 0x, as i2cdetect shows it.
std::optional<int> parseAddress(const QString& text) {
    QString digits = text.trimmed();
    if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
    }
    bool ok = false;
    const int address = digits.toInt(&ok, 16);
    if (!ok || digits.isEmpty() || address < kFirstAddress || address > kLastAddress) {
        return std::nullopt;
    }
    return address;
}

} // namespace

QString backpackAddressText(int address) {
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(2, u'0');
}

const std::array<BackpackWiring, 3>& backpackWirings() {
    return kWirings;
}

std::optional<BackpackWiring> findBackpackWiring(int number) {
    for (const BackpackWiring& wiring : kWirings) {
        if (wiring.number == number) {
            return wiring;
        }
    }
    return std::nullopt;
}

QString describeWiring(const BackpackWiring& wiring) {
    return QCoreApplication::translate("I2cBackpack", wiring.description);
}

BackpackPlace backpackPlace(const QString& bus, const QString& address, const QString& wiring) {
    BackpackPlace place;
    place.bus = bus.trimmed();
    if (place.bus.isEmpty()) {
        place.bus = kDefaultBus;
        place.problems << QCoreApplication::translate(
                              "I2cBackpack", "I2C = (vide) : aucun bus I2C indiqué, %1 est utilisé")
                              .arg(kDefaultBus);
    }
    if (const std::optional<int> parsed = parseAddress(address)) {
        place.address = *parsed;
    } else {
        place.address = kDefaultAddress;
        place.problems << QCoreApplication::translate(
                              "I2cBackpack",
                              "adresse = %1 : adresse I2C illisible (en hexadécimal de 0x03 à "
                              "0x77, 0x27 ou 0x3F le plus souvent), %2 est utilisée")
                              .arg(address, backpackAddressText(kDefaultAddress));
    }
    bool ok = false;
    const std::optional<BackpackWiring> found = findBackpackWiring(wiring.trimmed().toInt(&ok));
    if (ok && found) {
        place.wiring = *found;
    } else {
        place.problems << QCoreApplication::translate(
                              "I2cBackpack",
                              "brochage = %1 : brochage inconnu (1, 2 ou 3), le %2 est utilisé")
                              .arg(wiring, QString::fromUtf8(place.wiring.description));
    }
    return place;
}

I2cBackpack::I2cBackpack(const BackpackPlace& place, const ModuleSettings& settings)
    : place(place), settings(settings), expander(place.wiring),
      module(expander, settings.columns, settings.lines) {}

bool I2cBackpack::open(QString& error) {
    device.emplace(place.bus);
    if (!device->setAddress(place.address)) {
        error = reason(device->error());
        close();
        return false;
    }
    expander.attach(&*device);
    // The backlight first, so that the start-up's bytes already carry it.
    module.setBacklight(settings.backlight != 0);
    module.initialise();
    if (!sent(error)) {
        close();
        return false;
    }
    return true;
}

void I2cBackpack::close() {
    expander.attach(nullptr);
    device.reset();
}

bool I2cBackpack::write(int line, int column, const QByteArray& codes, QString& error) {
    module.write(line, column, codes);
    return sent(error);
}

bool I2cBackpack::defineGlyph(int slot, const GlyphRows& rows, QString& error) {
    module.defineGlyph(slot, rows);
    return sent(error);
}

bool I2cBackpack::hasBacklight() const {
    return true;
}

bool I2cBackpack::setBacklight(bool on, QString& error) {
    module.setBacklight(on && settings.backlight != 0);
    return sent(error);
}

bool I2cBackpack::sent(QString& error) {
    const int failure = expander.send();
    if (failure != 0) {
        error = reason(failure);
    }
    return failure == 0;
}

QString I2cBackpack::reason(int error) const {
    QString text;
    switch (error) {
    case ENOENT:
        text = QCoreApplication::translate(
            "I2cBackpack",
            "bus introuvable : activez l'I2C (raspi-config, ou dtparam=i2c_arm=on sur un Raspberry "
            "Pi ; modprobe i2c-dev sur un PC) et vérifiez le nom du bus (i2cdetect -l)");
        break;
    case EACCES:
    case EPERM:
        text = QCoreApplication::translate(
            "I2cBackpack",
            "accès refusé : ajoutez l'utilisateur au groupe i2c, puis ouvrez une nouvelle session");
        break;
    case EBUSY:
        text = QCoreApplication::translate(
                   "I2cBackpack", "l'adresse %1 est tenue par un pilote du noyau : retirez le "
                                  "dtoverlay ou le module qui la déclare (hd44780-lcd, pcf857x)")
                   .arg(backpackAddressText(place.address));
        break;
    case ENXIO:
    case EREMOTEIO:
    case EIO:
        text =
            QCoreApplication::translate(
                "I2cBackpack",
                "pas de réponse à l'adresse %1 : vérifiez l'adresse (0x27 ou 0x3F) et le câblage")
                .arg(backpackAddressText(place.address));
        break;
    case ENODEV:
        text = QCoreApplication::translate("I2cBackpack", "bus disparu");
        break;
    default:
        text = QCoreApplication::translate("I2cBackpack", "erreur du bus");
        break;
    }
    return QStringLiteral("%1 (%2)").arg(text, qt_error_string(error));
}

void I2cBackpack::Expander::attach(I2cDevice* to) {
    device = to;
    pins.reset();
    gathered.clear();
    failure = 0;
}

quint8 I2cBackpack::Expander::backlightBits() const {
    return lit == wiring.backlightLitHigh ? pin(wiring.backlight) : 0;
}

void I2cBackpack::Expander::pulse(int controller, bool data, quint8 nibble) {
    quint8 lines = backlightBits();
    if (data) {
        lines |= pin(wiring.rs);
    }
    const int dataPins[] = {wiring.d4, wiring.d5, wiring.d6, wiring.d7};
    for (int bit = 0; bit < 4; ++bit) {
        if (nibble & (1 << bit)) {
            lines |= pin(dataPins[bit]);
        }
    }
    // RS must settle before E rises: when it changes, it goes out first on its own.
    if (!pins || ((*pins ^ lines) & pin(wiring.rs))) {
        gathered += static_cast<char>(lines);
    }
    const quint8 enable = pin(controller == 0 ? wiring.e : wiring.rw);
    gathered += static_cast<char>(lines | enable);
    gathered += static_cast<char>(lines);
    pins = lines;
}

void I2cBackpack::Expander::pause(std::chrono::microseconds time) {
    if (time > kCoveredByBus) {
        send();
        std::this_thread::sleep_for(time);
    }
}

void I2cBackpack::Expander::setBacklight(bool on) {
    lit = on;
    const quint8 others = pins.value_or(0) & ~pin(wiring.backlight);
    pins = static_cast<quint8>(others | backlightBits());
    gathered += static_cast<char>(*pins);
}

int I2cBackpack::Expander::send() {
    if (failure == 0 && device && !gathered.isEmpty() && !device->write(gathered)) {
        failure = device->error();
    }
    gathered.clear();
    return failure;
}
