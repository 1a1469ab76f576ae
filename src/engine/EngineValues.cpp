#include "engine/Engine.h"
#include "engine/NamedValues.h"

void Engine::startValues() {
    Log& log = *this;
    std::vector<ValueSetting> settings = readValueSettings(IniFile::load(settingsFile()), log);
    if (settings.empty()) {
        return;
    }
    values = std::make_unique<NamedValues>(std::move(settings), log);
    values->start();
}
