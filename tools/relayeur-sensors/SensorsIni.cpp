#include "SensorsIni.h"

#include "platform/IniFile.h"
#include "platform/SettingsDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("capteurs");
} // namespace

std::string defaultSensorsIni() {
    return QDir(userConfigDir(QStringLiteral("relayeur")))
        .filePath(QStringLiteral("sensors.ini"))
        .toStdString();
}

SensorsIni loadSensorsIni(const std::string& path) {
    SensorsIni ini;
    const QString file = QString::fromStdString(path);
    const IniFile settings = IniFile::load(file);
    if (!settings.exists()) {
        if (QFileInfo::exists(file)) {
            ini.problems.push_back(
                QCoreApplication::translate("SensorsIni", "%1 illisible : ordre par défaut")
                    .arg(file)
                    .toStdString());
        }
        return ini;
    }
    ini.found = true;
    if (!settings.hasSection(kSection)) {
        ini.problems.push_back(
            QCoreApplication::translate("SensorsIni",
                                        "%1 : pas de section [capteurs] : ordre par défaut")
                .arg(file)
                .toStdString());
        return ini;
    }
    for (SlotKind kind : kSlotKinds) {
        for (int slot = 1; slot <= MbmLayout::kSlots; ++slot) {
            const std::optional<QString> value = settings.value(
                kSection, QString::fromLatin1(slotName(kind).data(), slotName(kind).size()) +
                              QString::number(slot));
            if (!value) {
                continue;
            }
            const qsizetype colon = value->indexOf(QLatin1Char(':'));
            SensorChoice choice;
            if (colon >= 0) {
                choice.chip = value->left(colon).trimmed().toStdString();
            }
            choice.label = value->mid(colon + 1).trimmed().toStdString();
            ini.map.choices[static_cast<size_t>(kind)][slot - 1] = choice;
        }
    }
    return ini;
}
