#include "drivers/Panels.h"

#include "drivers/GpioModule.h"
#include "drivers/I2cBackpack.h"
#include "drivers/KernelLcd.h"
#include "drivers/LcddPanel.h"
#include "drivers/MatrixOrbital.h"
#include "drivers/ModulePanel.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/ParallelPanel.h"
#include "drivers/Serie.h"

#include <QCoreApplication>
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
            QCoreApplication::translate(
                "Panels", "LCDd = %1 : adresse illisible (hôte:port attendu), %2:%3 est utilisé")
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

ModuleSettings moduleSettings(const DisplayConfig& config) {
    return {config.C, config.L, config.contrast, config.backlight};
}

// A module whose contrast is set on the module itself: a contrast setting is said not to reach it.
void tellContrastStaysOnModule(const DisplayConfig& config, const PanelHost& host,
                               const QString& where) {
    if (config.contrast != 0) {
        host.log.add(QCoreApplication::translate("Panels", "contrast = %1 n'est pas envoyé : %2")
                         .arg(config.contrast)
                         .arg(where));
    }
}

std::unique_ptr<Panel> i2c(const DisplayConfig& config, const PanelHost& host) {
    const BackpackPlace place = backpackPlace(config.i2cBus, config.i2cAddress, config.i2cWiring);
    for (const QString& problem : place.problems) {
        reportFault(host.log, problem);
    }
    const QString name = QCoreApplication::translate("Panels", "afficheur I2C %1 (%2)")
                             .arg(place.bus, backpackAddressText(place.address));
    host.log.add(QCoreApplication::translate("Panels", "%1, brochage %2")
                     .arg(name, describeWiring(place.wiring)));
    tellContrastStaysOnModule(
        config, host,
        QCoreApplication::translate(
            "Panels", "le contraste d'un module I2C se règle au potentiomètre de son adaptateur"));
    return std::make_unique<ModulePanel>(
        std::make_unique<I2cBackpack>(place, moduleSettings(config)), moduleSettings(config), name,
        host.log, config.caracteres);
}

std::unique_ptr<Panel> kernelLcd(const DisplayConfig& config, const PanelHost& host) {
    if (config.contrast != 0) {
        host.log.add(QCoreApplication::translate(
                         "Panels", "lcd = %1 : pas de contraste à régler par le noyau (il se règle "
                                   "sur le module), contrast = %2 n'est pas envoyé")
                         .arg(config.charLcd)
                         .arg(config.contrast));
    }
    return std::make_unique<ModulePanel>(
        std::make_unique<KernelLcdLink>(config.charLcd, moduleSettings(config)),
        moduleSettings(config),
        QCoreApplication::translate("Panels", "afficheur du noyau %1").arg(config.charLcd),
        host.log, config.caracteres);
}

std::unique_ptr<Panel> matrixOrbital(const DisplayConfig& config, const PanelHost& host) {
    const std::optional<int> speed = matrixOrbitalSpeed(config.mtxOrbSpeed);
    if (!speed) {
        host.log.add(QCoreApplication::translate(
                         "Panels", "vitesse = %1 : vitesse inconnue (1200, 2400, 4800, 9600, "
                                   "19200, 38400, 57600 ou 115200), %2 est utilisée")
                         .arg(config.mtxOrbSpeed)
                         .arg(kMatrixOrbitalSpeed));
        host.log.selectLast();
    }
    return std::make_unique<ModulePanel>(
        std::make_unique<MatrixOrbitalLink>(config.mtxOrb, speed.value_or(kMatrixOrbitalSpeed),
                                            moduleSettings(config)),
        moduleSettings(config),
        QCoreApplication::translate("Panels", "module Matrix Orbital %1").arg(config.mtxOrb),
        host.log, config.caracteres);
}

std::unique_ptr<Panel> gpio(const DisplayConfig& config, const PanelHost& host) {
    const QString name = QCoreApplication::translate("Panels", "afficheur GPIO %1")
                             .arg(gpioChipPath(config.gpioChip));
    QString problem;
    if (const std::optional<GpioLines> lines = parseGpioLines(config.gpioPins, problem)) {
        host.log.add(QCoreApplication::translate("Panels", "%1, broches %2")
                         .arg(name, describeGpioLines(*lines)));
    }
    tellContrastStaysOnModule(
        config, host,
        QCoreApplication::translate(
            "Panels",
            "le contraste d'un module sur GPIO se règle au potentiomètre de sa broche V0"));
    return std::make_unique<ModulePanel>(
        std::make_unique<GpioModule>(config.gpioChip, config.gpioPins, moduleSettings(config)),
        moduleSettings(config), name, host.log, config.caracteres);
}

struct PanelKind {
    qint16 typeLcd;
    const char* name; // as the log names it, in French before translation
    std::unique_ptr<Panel> (*make)(const DisplayConfig&, const PanelHost&);
};

// Every panel the program drives, by the TypeLCD value of param.ini that names it.
const PanelKind kPanels[] = {
    // in the window, or the terminal
    {1, QT_TRANSLATE_NOOP("Panels", "à l'écran"), onScreen},
    // COM of [parametres], its device in [ports]
    {2, QT_TRANSLATE_NOOP("Panels", "série"), serial},
    // LPT1 of [ports]
    {3, QT_TRANSLATE_NOOP("Panels", "parallèle"), parallel},
    // LCDd= of [ports]
    {4, "LCDd", lcdd},
    // I2C=, adresse= and brochage= of [ports]
    {5, "I2C", i2c},
    // GPIO= and broches= of [ports]
    {6, "GPIO", gpio},
    // lcd= of [ports]
    {7, QT_TRANSLATE_NOOP("Panels", "LCD du noyau"), kernelLcd},
    // MtxOrb= and vitesse= of [ports]
    {8, "Matrix Orbital", matrixOrbital},
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

QString panelName(qint16 typeLcd) {
    const PanelKind* kind = find(typeLcd);
    return kind ? QCoreApplication::translate("Panels", kind->name) : QString();
}

QString panelNames() {
    QStringList names;
    for (const PanelKind& kind : kPanels) {
        names << QStringLiteral("%1 %2")
                     .arg(kind.typeLcd)
                     .arg(QCoreApplication::translate("Panels", kind.name));
    }
    return names.join(QStringLiteral(", "));
}
