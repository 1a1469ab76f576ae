#pragma once

#include "Readings.h"

#include <string>
#include <vector>

// $XDG_CONFIG_HOME/relayeur/sensors.ini, by default ~/.config/relayeur/sensors.ini.
std::string defaultSensorsIni();

// What sensors.ini says, read with the rules of param.ini: in section [capteurs], keys temp1 to
// temp10, volt1 to volt10 and fan1 to fan10, each "chip:label" or "label" (any chip), or empty
// for a slot left empty on purpose.
struct SensorsIni {
    SlotMap map;
    bool found = false;                // the file exists and was read
    std::vector<std::string> problems; // what was left aside, for the user
};
SensorsIni loadSensorsIni(const std::string& path);
