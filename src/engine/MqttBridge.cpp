#include "engine/MqttBridge.h"

std::optional<QByteArray> MqttBridge::value(QByteArrayView, QByteArrayView) {
    return std::nullopt;
}
