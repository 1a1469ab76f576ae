#include "platform/USEINI.h"

#include <algorithm>

QString GetIni(const IniFile& ini, const QString& section, const QString& key,
               const QString& defaultValue) {
    if (const std::optional<QStringView> value = GetIni(ini, ini.section(section), key)) {
        return value->toString();
    }
    return defaultValue.left(kIniValueLength);
}

std::optional<QStringView> GetIni(const IniFile& ini, IniFile::Section section, QStringView key) {
    const std::optional<QStringView> value = ini.view(section, key);
    if (!value) {
        return std::nullopt;
    }
    return value->first(std::min<qsizetype>(value->size(), kIniValueLength));
}

QString GetIni(const QString& section, const QString& key, const QString& defaultValue,
               const QString& file) {
    return GetIni(IniFile::load(file), section, key, defaultValue);
}

bool PutIni(const QString& section, const QString& key, const QString& value, const QString& file) {
    IniFile ini = IniFile::load(file);
    ini.setValue(section, key, value);
    return ini.save(file);
}
