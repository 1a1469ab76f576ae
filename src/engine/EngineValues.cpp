#include "engine/Engine.h"
#include "engine/NamedValues.h"

void Engine::startValues() {}
