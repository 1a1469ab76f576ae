#include "drivers/Panels.h"

#include "drivers/GpioModule.h"
#include "drivers/I2cBackpack.h"
#include "drivers/LcddPanel.h"
#include "drivers/ModulePanel.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/ParallelPanel.h"
#include "drivers/Serie.h"

#include <QObject>

namespace {

std::unique_ptr<Panel> onScreen(const DisplayConfig& config, const PanelHost& host) {
    auto panel = std::make_unique<OnScreenPanel>(config.C, config.L, config.caracteres);
    if (host.onScreen) {
        host.onScreen(*panel);
    }
    return panel;
}

std::unique_ptr<Panel> serial(const DisplayConfig& config, const PanelHost& host) {
    return std::make_unique<SerialPanel>(config.serialDevice, host.log);
}

std::unique_ptr<Panel> parallel(const DisplayConfig& config, const PanelHost& host) {
    return std::make_unique<ParallelPanel>(config.parallelPort, host.log);
}

std::unique_ptr<Panel> lcdd(const DisplayConfig& config, const PanelHost& host) {
    auto address = parseLcddAddress(config.lcddServer);
    if (!address) {
        address.emplace();
        host.log.add(
            QStringLiteral("LCDd = %1 : adresse illisible (hôte:port attendu), %2:%3 est utilisé")
                .arg(config.lcddServer, address->host)
                .arg(address->port));
        host.log.selectLast();
    }
    auto panel = std::make_unique<LcddPanel>(*address, config.C, config.L, host.log);
    if (host.keyPressed) {
        QObject::connect(panel.get(), &LcddPanel::keyPressed, host.keyPressed);
    }
    return panel;
}

std::unique_ptr<Panel> i2c(const DisplayConfig& config, const PanelHost& host) {
    const BackpackPlace place = backpackPlace(config.i2cBus, config.i2cAddress, config.i2cWiring);
    for (const QString& problem : place.problems) {
        reportFault(host.log, problem);
    }
    const QString name =
        QStringLiteral("afficheur I2C %1 (%2)").arg(place.bus, backpackAddressText(place.address));
    host.log.add(
        QStringLiteral("%1, brochage %2").arg(name, QString::fromUtf8(place.wiring.description)));
    const ModuleSettings settings{config.C, config.L, config.contrast, config.backlight};
    return std::make_unique<ModulePanel>(std::make_unique<I2cBackpack>(place, settings), settings,
                                         name, host.log, config.caracteres);
}

std::unique_ptr<Panel> gpio(const DisplayConfig& config, const PanelHost& host) {
    const QString name = QStringLiteral("afficheur GPIO %1").arg(gpioChipPath(config.gpioChip));
    QString problem;
    if (const std::optional<GpioLines> lines = parseGpioLines(config.gpioPins, problem)) {
        host.log.add(QStringLiteral("%1, broches %2").arg(name, describeGpioLines(*lines)));
    }
    const ModuleSettings settings{config.C, config.L, config.contrast, config.backlight};
    return std::make_unique<ModulePanel>(
        std::make_unique<GpioModule>(config.gpioChip, config.gpioPins, settings), settings, name,
        host.log, config.caracteres);
}

struct PanelKind {
    qint16 typeLcd;
    const char* name; // as the log names it
    std::unique_ptr<Panel> (*make)(const DisplayConfig&, const PanelHost&);
};

// Every panel the program drives, by the TypeLCD value of param.ini that names it.
const PanelKind kPanels[] = {
    {1, "à l'écran", onScreen}, {2, "série", serial}, {3, "parallèle", parallel},
    {4, "LCDd", lcdd},          {5, "I2C", i2c},      {6, "GPIO", gpio},
};

const PanelKind* find(qint16 typeLcd) {
    for (const PanelKind& kind : kPanels) {
        if (kind.typeLcd == typeLcd) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

std::unique_ptr<Panel> makePanel(const DisplayConfig& config, const PanelHost& host) {
    const PanelKind* kind = find(config.TypeLCD);
    return kind ? kind->make(config, host) : nullptr;
}

bool namesPanel(qint16 typeLcd) {
    return find(typeLcd) != nullptr;
}

QString panelNames() {
    QStringList names;
    for (const PanelKind& kind : kPanels) {
        names << QStringLiteral("%1 %2").arg(kind.typeLcd).arg(QString::fromUtf8(kind.name));
    }
    return names.join(QStringLiteral(", "));
}
