#include "Libsensors.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sensors/error.h>
#include <sensors/sensors.h>

namespace {

struct LibsensorsKind {
    sensors_feature_type feature;
    sensors_subfeature_type input;
    SlotKind kind;
};
constexpr LibsensorsKind kKinds[] = {
    {SENSORS_FEATURE_TEMP, SENSORS_SUBFEATURE_TEMP_INPUT, SlotKind::Temp},
    {SENSORS_FEATURE_IN, SENSORS_SUBFEATURE_IN_INPUT, SlotKind::Volt},
    {SENSORS_FEATURE_FAN, SENSORS_SUBFEATURE_FAN_INPUT, SlotKind::Fan},
};

std::string chipName(const sensors_chip_name* chip) {
    char name[256];
    return sensors_snprintf_chip_name(name, sizeof name, chip) > 0 ? std::string(name)
                                                                   : std::string(chip->prefix);
}

} // namespace

LibsensorsSession::LibsensorsSession() {
    if (const int error = sensors_init(nullptr); error != 0) {
        failure = sensors_strerror(error);
    }
}

LibsensorsSession::~LibsensorsSession() {
    sensors_cleanup();
}

std::vector<Sensor> LibsensorsSession::sensors() const {
    std::vector<Sensor> found;
    if (!failure.empty()) {
        return found;
    }
    int chipIndex = 0;
    while (const sensors_chip_name* chip = sensors_get_detected_chips(nullptr, &chipIndex)) {
        const std::string name = chipName(chip);
        int featureIndex = 0;
        while (const sensors_feature* feature = sensors_get_features(chip, &featureIndex)) {
            for (const LibsensorsKind& kind : kKinds) {
                const sensors_subfeature* input =
                    feature->type == kind.feature
                        ? sensors_get_subfeature(chip, feature, kind.input)
                        : nullptr;
                if (input == nullptr) {
                    continue;
                }
                const std::unique_ptr<char, decltype(&std::free)> label(
                    sensors_get_label(chip, feature), &std::free);
                found.push_back({kind.kind, name, feature->name,
                                 label ? std::string(label.get()) : std::string(), feature->name,
                                 [chip, number = input->number]() -> std::optional<double> {
                                     double value = 0;
                                     if (sensors_get_value(chip, number, &value) != 0 ||
                                         !std::isfinite(value)) {
                                         return std::nullopt;
                                     }
                                     return value;
                                 }});
            }
        }
    }
    return found;
}
