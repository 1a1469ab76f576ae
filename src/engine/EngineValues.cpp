#include "engine/Engine.h"
#include "engine/NamedValues.h"

void Engine::startValues(const IniFile& file) {
    Log& log = *this;
    std::vector<ValueSetting> settings = readValueSettings(file, log);
    if (settings.empty()) {
        return;
    }
    values = std::make_unique<NamedValues>(std::move(settings), log);
    values->start();
}
