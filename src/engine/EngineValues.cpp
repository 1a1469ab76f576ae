#include "engine/Engine.h"
#include "engine/NamedValues.h"

void Engine::startValues() {
    Log& log = *this;
    std::vector<ValueSpec> specs = readValueSpecs(IniFile::load(settingsFile()), log);
    if (specs.empty()) {
        return;
    }
    values = std::make_unique<NamedValues>(std::move(specs), log);
    values->start();
}
