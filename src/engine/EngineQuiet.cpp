#include "engine/Engine.h"
#include "engine/QuietHours.h"

void Engine::startQuiet() {}

Frame Engine::quietened(Frame frame) {
    return frame;
}

void Engine::wakePanel(qint64) {}

void Engine::askBacklight(bool) {}

bool Engine::backlightOn() const {
    return true;
}
