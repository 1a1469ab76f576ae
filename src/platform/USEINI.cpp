#include "platform/USEINI.h"

namespace {
constexpr int kBufferSize = 128;
}

QString GetIni(const IniFile& ini, const QString& section, const QString& key,
               const QString& defaultValue) {
    return ini.value(section, key).value_or(defaultValue).left(kBufferSize - 1);
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
