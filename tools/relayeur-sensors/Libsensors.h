#pragma once

#include "Readings.h"

#include <string>
#include <vector>

// libsensors, ready for as long as this lives: it reads sensors.conf and finds the chips. The
// library keeps one state per process, so there is one of these at a time.
class LibsensorsSession {
public:
    LibsensorsSession();
    ~LibsensorsSession();
    LibsensorsSession(const LibsensorsSession&) = delete;
    LibsensorsSession& operator=(const LibsensorsSession&) = delete;

    // Why libsensors could not start; empty when it did.
    const std::string& problem() const { return failure; }

    // The temperature, voltage and fan inputs of every chip, in libsensors's order, with their
    // labels and values as sensors.conf corrects them. Their reads need this session alive.
    std::vector<Sensor> sensors() const;

private:
    std::string failure;
};
