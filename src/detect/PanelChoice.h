#pragma once

#include "detect/PanelSearch.h"
#include "drivers/ModuleLink.h"

#include <QString>
#include <vector>

// What follows the search: the candidate put into words, an I2C backpack tried with each wiring
// until the user reads it right, and the settings written into param.ini.

struct SettingChange {
    QString section;
    QString key;
    QString value;
};

// The candidate on one line: what it is, where, and what answered.
QString describeCandidate(const Candidate& candidate);

// The keys of param.ini that make Relayeur drive `candidate`; `wiring` is the backpack's
// brochage (I2C only).
std::vector<SettingChange> settingsFor(const Candidate& candidate, int wiring = 0);
// "TypeLCD=5, I2C=/dev/i2c-1, …" as the user reads them.
QString describeSettings(const std::vector<SettingChange>& changes);

// Writes each key into `file`, keeping every other byte of it; false, with the key that failed
// in `error`, when the file could not be written.
bool writeSettings(const QString& file, const std::vector<SettingChange>& changes, QString& error);

// The size a trial writes at, from [parametres] C and L of `file`; 16x2 where they are unusable.
ModuleSettings trialSettings(const QString& file);

// The panel the settings of `file` drive, when its TypeLCD names one of the devices the search
// visits.
std::optional<PanelInUse> configuredPanel(const QString& file);

// Shows « Relayeur » on line 1 and the name of wiring `wiring` on line 2 of the backpack at
// `candidate`, driven as if so wired, its backlight on; false, with why, when the bus refused.
bool tryWiring(const Candidate& candidate, int wiring, const ModuleSettings& settings,
               QString& error);

// "Les réglages sont dans FILE : Relayeur les prend à son prochain démarrage."
QString settingsWrittenText(const QString& file);
