// MQTT payloads as the broker delivers them: the input is a line digit, a JSON field name up to
// the first newline, then the payload. A value shows as one line without control characters; every
// line message the mapping makes is one that the line-message parser takes, on the line of its
// topic, and holds no control character either.
#include "FuzzSupport.h"
#include "engine/MqttMapping.h"
#include "linemessage/LineMessage.h"

namespace {
bool hasControls(QByteArrayView text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return quint8(c) < 0x20 || c == '\x7F'; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    if (input.isEmpty()) {
        return 0;
    }
    const QByteArrayView lineDigit = QByteArrayView(input).first(1);
    const QByteArrayView rest = QByteArrayView(input).sliced(1);
    const qsizetype newline = rest.indexOf('\n');
    const QByteArrayView field = newline < 0 ? QByteArrayView() : rest.first(newline);
    const QByteArrayView payload = newline < 0 ? rest : rest.sliced(newline + 1);

    const QByteArray whole = mqttmap::narrow(payload, {});
    FUZZ_CHECK(!hasControls(whole));
    FUZZ_CHECK(whole.size() <= payload.size());
    FUZZ_CHECK(!hasControls(mqttmap::narrow(payload, field)));

    FUZZ_CHECK(mqttmap::usableTopic(payload) ==
               (!payload.isEmpty() && payload.size() <= 65535 && !payload.contains('+') &&
                !payload.contains('#') && !payload.contains('\0')));

    QString refusal;
    const auto message = mqttmap::lineMessage(lineDigit, payload, &refusal);
    if (!message) {
        FUZZ_CHECK(!refusal.isEmpty());
        return 0;
    }
    QString parseRefusal;
    const auto parsed = linemessage::parse(message->dwData, message->data, &parseRefusal);
    FUZZ_CHECK(parsed.has_value());
    FUZZ_CHECK(parsed->line == lineDigit[0] - '0');
    FUZZ_CHECK(parsed->mode >= 0 && parsed->mode <= 9);
    FUZZ_CHECK((message->dwData == linemessage::kHeldMessageData) == (parsed->hold > 0));
    FUZZ_CHECK(parsed->hold <= linemessage::kMaxHoldSeconds);
    FUZZ_CHECK(!hasControls(parsed->text));
    return 0;
}
