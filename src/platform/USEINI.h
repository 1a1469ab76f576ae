#pragma once

#include "platform/IniFile.h"

#include <QString>

// The most of a value a read keeps: what a 128-character buffer holds besides its NUL.
inline constexpr int kIniValueLength = 127;

// Reads one key as the Windows private-profile call does through a 128-character buffer:
// the default when the key is missing, at most kIniValueLength characters of a value.
QString GetIni(const IniFile& ini, const QString& section, const QString& key,
               const QString& defaultValue);
QString GetIni(const QString& section, const QString& key, const QString& defaultValue,
               const QString& file);
// The same as a view into `ini`, for a section read key after key; nothing when the key is missing.
std::optional<QStringView> GetIni(const IniFile& ini, IniFile::Section section, QStringView key);

// Writes one key, keeping every other line of the file; creates the file if needed.
// Returns false when the file could not be written.
bool PutIni(const QString& section, const QString& key, const QString& value, const QString& file);
