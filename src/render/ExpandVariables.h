#pragma once

#include "model/DisplayConfig.h"
#include "model/Frame.h"
#include "platform/MemoryStatus.h"
#include "platform/RegionalFormat.h"
#include "profile/PageModel.h"
#include "sources/mbm.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <functional>

// Where the values of the variables come from; tests give fixed ones.
struct VariableSources {
    std::function<MemoryStatus()> memoryStatus;
    std::function<double(qint16 index, SensorKind kind)> mbmValue;
    std::function<QByteArray(const QByteArray& separator)> ipAddresses;
    std::function<QDateTime()> now;
    QLocale locale = QLocale::system();
    // The media and game groups rewrite a line's text in place; an empty group leaves its
    // variables as typed.
    std::function<void(QByteArray& text)> halfLifeGroup;
    std::function<void(QByteArray& text)> setiGroup;
    std::function<void(QByteArray& text)> winampGroup;
    // %%val(name): the last value of an entry of [valeurs]; %%mqtt(topic) and
    // %%mqtt(topic|field): the last payload of an MQTT topic. Both give the panel's character
    // set; nullopt, or no function, leaves the variable as typed (no such entry, no [mqtt], a
    // topic that cannot be named).
    std::function<std::optional<QByteArray>(QByteArrayView name)> namedValue;
    std::function<std::optional<QByteArray>(QByteArrayView topic, QByteArrayView field)>
        mqttValue;
    // What the date and time texts keep from one refresh to the next: the locale's time format,
    // this second's and today's texts. The clock itself is read afresh by every expansion.
    mutable regional::DateTimeTexts dateTimeTexts;
};

struct Expansion {
    PageModel& pages;
    const DisplayConfig& config;
    const PresenceFlags& flags;
    const VariableSources& sources;
};

// Rebuilds the text of each line with %% variables from its raw text, in a fixed order of
// plain substring replacements (so the order decides what a value that holds a variable name
// becomes), then brings the Length of lines 1 to L up to date. The clock is read once, so that
// every line shows the same moment. When a line drew the big clock and lines 1 to L still show
// its rows (a later line may have been rebuilt over one), the answer is the time it shows.
std::optional<ClockTime> ExpandVariables(const Expansion& e);
