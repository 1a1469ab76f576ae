#include "engine/MqttMapping.h"

#include "linemessage/LineMessage.h"
#include "platform/AnsiText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <cmath>

namespace mqttmap {

namespace {

// Payloads are UTF-8 as a rule; bytes that are not are taken as the panel's own.
QByteArray panelText(QByteArrayView payload) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(payload);
    return utf8.hasError() ? payload.toByteArray() : ansi::fromUnicode(text);
}

QByteArray firstLine(QByteArray text) {
    const qsizetype end = text.indexOf('\n');
    text.truncate(end < 0 ? text.size() : end);
    const qsizetype cr = text.indexOf('\r');
    text.truncate(cr < 0 ? text.size() : cr);
    return text;
}

// Anyone on the broker may publish: a control character would reach the panel as the code of a
// user-defined glyph or of an empty cell, so each one is shown as a blank.
QByteArray blankControls(QByteArray text) {
    for (char& c : text) {
        if (quint8(c) < 0x20 || c == '\x7F') {
            c = ' ';
        }
    }
    return text;
}

std::optional<QJsonObject> jsonObject(QByteArrayView payload) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(payload.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    return document.object();
}

// A value as JSON writes it: 21.5, true, {"a":1}; a string as it is.
QString written(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return {};
    default: {
        // Numbers and booleans: as the only element of an array, brackets taken off.
        const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(array.sliced(1, array.size() - 2));
    }
    }
}

// A whole number of the JSON value within [low, high].
std::optional<int> wholeNumber(const QJsonValue& value, int low, int high) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (std::floor(number) != number || number < low || number > high) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

} // namespace

bool usableTopic(QByteArrayView topic) {
    // 65535: the most a topic's length field can say.
    return !topic.isEmpty() && topic.size() <= 65535 && !topic.contains('+') &&
           !topic.contains('#') && !topic.contains('\0');
}

QByteArray narrow(QByteArrayView payload, QByteArrayView field) {
    if (field.isEmpty()) {
        return blankControls(firstLine(panelText(payload)));
    }
    const std::optional<QJsonObject> object = jsonObject(payload);
    if (!object) {
        return {};
    }
    QJsonValue value = *object;
    for (const QByteArray& key : field.toByteArray().split('.')) {
        if (!value.isObject()) {
            return {};
        }
        value = value.toObject().value(QString::fromUtf8(key));
        if (value.isUndefined()) {
            return {};
        }
    }
    return blankControls(firstLine(ansi::fromUnicode(written(value))));
}

std::optional<LineMessageBytes> lineMessage(QByteArrayView lineDigit, QByteArrayView payload,
                                            QString* refusal) {
    const auto refuse = [refusal](const QString& why) -> std::optional<LineMessageBytes> {
        if (refusal != nullptr) {
            *refusal = why;
        }
        return std::nullopt;
    };
    if (lineDigit.size() != 1 || lineDigit[0] < '0' || lineDigit[0] > '3') {
        return refuse(
            QCoreApplication::translate("MqttMapping", "la ligne doit être 0, 1, 2 ou 3"));
    }
    QByteArray text;
    int mode = 0;
    int hold = 0;
    if (const std::optional<QJsonObject> object = jsonObject(payload)) {
        const QJsonValue texte = object->value(QLatin1String("texte"));
        if (!texte.isString()) {
            return refuse(QCoreApplication::translate("MqttMapping",
                                                      "« texte » manque ou n'est pas un texte"));
        }
        text = ansi::fromUnicode(texte.toString());
        if (object->contains(QLatin1String("mode"))) {
            const std::optional<int> digit =
                wholeNumber(object->value(QLatin1String("mode")), 0, 9);
            if (!digit) {
                return refuse(QCoreApplication::translate(
                    "MqttMapping", "« mode » doit être un chiffre de 0 à 9"));
            }
            mode = *digit;
        }
        if (object->contains(QLatin1String("hold"))) {
            const std::optional<int> seconds =
                wholeNumber(object->value(QLatin1String("hold")), 1, linemessage::kMaxHoldSeconds);
            if (!seconds) {
                return refuse(
                    QCoreApplication::translate(
                        "MqttMapping", "« hold » doit être un nombre de secondes de 1 à %1")
                        .arg(linemessage::kMaxHoldSeconds));
            }
            hold = *seconds;
        }
    } else {
        if (payload.isEmpty()) {
            return refuse(QCoreApplication::translate("MqttMapping", "message vide"));
        }
        text = panelText(payload);
    }
    text = firstLine(text);
    // The text ends at its first NUL, and leaves room for the two digits in the bytes taken.
    text.truncate(std::min<qsizetype>(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'),
                                      linemessage::kTakenBytes - 2));
    QByteArray data = blankControls(text);
    data.append(char('0' + mode)).append(lineDigit[0]);
    if (hold > 0) {
        return LineMessageBytes{linemessage::kHeldMessageData, linemessage::held(hold, data)};
    }
    return LineMessageBytes{linemessage::kLineMessageData, data};
}

QString machineLevel(const QString& hostName) {
    QString level = hostName;
    for (QChar& c : level) {
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                          (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!kept) {
            c = u'_';
        }
    }
    return level;
}

} // namespace mqttmap
