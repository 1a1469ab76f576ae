#include "detect/PanelChoice.h"

#include "drivers/I2cBackpack.h"
#include "drivers/Panels.h"
#include "platform/USEINI.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString kParametres = QStringLiteral("parametres");
const QString kPorts = QStringLiteral("ports");

// The name to write: the one that stays the same from one plug to the next.
QString steadyDevice(const Candidate& candidate) {
    return candidate.shownAs.isEmpty() ? candidate.device : candidate.shownAs;
}

int readNumber(const QString& file, const QString& key, int low, int high, int fallback) {
    bool ok = false;
    const int value = GetIni(kParametres, key, QString(), file).trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

} // namespace

QString describeCandidate(const Candidate& candidate) {
    QString where = steadyDevice(candidate);
    if (candidate.address >= 0) {
        where = QCoreApplication::translate("PanelChoice", "%1, adresse %2")
                    .arg(where, backpackAddressText(candidate.address));
    }
    return QCoreApplication::translate("PanelChoice", "%1 %2 : %3")
        .arg(panelName(candidate.typeLcd), where, candidate.answered);
}

std::vector<SettingChange> settingsFor(const Candidate& candidate, int wiring) {
    std::vector<SettingChange> changes{
        {kParametres, QStringLiteral("TypeLCD"), QString::number(candidate.typeLcd)}};
    const auto port = [&](const char* key, const QString& value) {
        changes.push_back({kPorts, QString::fromLatin1(key), value});
    };
    switch (candidate.typeLcd) {
    case 3:
        port("LPT1", candidate.device);
        break;
    case 4:
        port("LCDd", candidate.device);
        break;
    case 5:
        port("I2C", candidate.device);
        port("adresse", backpackAddressText(candidate.address));
        port("brochage", QString::number(wiring));
        break;
    case 7:
        port("lcd", candidate.device);
        break;
    case 8:
        port("MtxOrb", steadyDevice(candidate));
        port("vitesse", QString::number(candidate.speed));
        break;
    default:
        break;
    }
    // A device that tells its size sets the page's size too.
    if (candidate.columns > 0 && candidate.lines > 0) {
        changes.push_back({kParametres, QStringLiteral("C"), QString::number(candidate.columns)});
        changes.push_back({kParametres, QStringLiteral("L"), QString::number(candidate.lines)});
    }
    return changes;
}

QString describeSettings(const std::vector<SettingChange>& changes) {
    QStringList pairs;
    for (const SettingChange& change : changes) {
        pairs << change.key + u'=' + change.value;
    }
    return pairs.join(QStringLiteral(", "));
}

bool writeSettings(const QString& file, const std::vector<SettingChange>& changes, QString& error) {
    for (const SettingChange& change : changes) {
        if (!PutIni(change.section, change.key, change.value, file)) {
            error = QCoreApplication::translate("PanelChoice",
                                                "%1 n'a pas pu être écrit dans [%2] de %3")
                        .arg(change.key, change.section, file);
            return false;
        }
    }
    return true;
}

ModuleSettings trialSettings(const QString& file) {
    ModuleSettings settings;
    settings.columns = readNumber(file, QStringLiteral("C"), 1, 40, 16);
    settings.lines = readNumber(file, QStringLiteral("L"), 1, 4, 2);
    if (settings.columns * settings.lines > 80) {
        settings.columns = 16;
        settings.lines = 2;
    }
    return settings;
}

std::optional<PanelInUse> configuredPanel(const QString& file) {
    const auto port = [&](const char* key, const char* fallback) {
        return GetIni(kPorts, QString::fromLatin1(key), QString::fromLatin1(fallback), file);
    };
    PanelInUse panel;
    panel.typeLcd = static_cast<qint16>(readNumber(file, QStringLiteral("TypeLCD"), 0, 99, 0));
    switch (panel.typeLcd) {
    case 3:
        panel.device = port("LPT1", "/dev/parport0");
        break;
    case 5: {
        const BackpackPlace place = backpackPlace(port("I2C", "/dev/i2c-1"),
                                                  port("adresse", "0x27"), port("brochage", "1"));
        panel.device = place.bus;
        panel.address = place.address;
        break;
    }
    case 7:
        panel.device = port("lcd", "/dev/lcd");
        break;
    case 8:
        panel.device = port("MtxOrb", "/dev/ttyACM0");
        break;
    default:
        return std::nullopt;
    }
    return panel;
}

bool tryWiring(const Candidate& candidate, int wiring, const ModuleSettings& settings,
               QString& error) {
    const std::optional<BackpackWiring> found = findBackpackWiring(wiring);
    if (!found) {
        error = QCoreApplication::translate("PanelChoice", "brochage %1 inconnu").arg(wiring);
        return false;
    }
    BackpackPlace place;
    place.bus = candidate.device;
    place.address = candidate.address;
    place.wiring = *found;
    // Lit whatever the settings say, so that the words can be read.
    ModuleSettings lit = settings;
    lit.backlight = 1;
    I2cBackpack link(place, lit);
    if (!link.open(error)) {
        return false;
    }
    // The module's character set has no dash but the plain one.
    const QByteArray name = QString::fromUtf8(found->description).replace(u'–', u'-').toLatin1();
    bool written = link.write(0, 0, QByteArrayLiteral("Relayeur").left(settings.columns), error);
    if (written && settings.lines > 1) {
        written = link.write(1, 0, name.left(settings.columns), error);
    }
    link.close();
    return written;
}

QString settingsWrittenText(const QString& file) {
    return QCoreApplication::translate(
               "PanelChoice",
               "Réglages écrits dans %1 : Relayeur les prend à son prochain démarrage.")
        .arg(QFileInfo(file).absoluteFilePath());
}
