#include "engine/Engine.h"
#include "engine/MqttBridge.h"

void Engine::startMqtt() {}

void Engine::tellMqtt() {}

void Engine::endMqtt() {}
