#include "engine/QuietHours.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000;

std::optional<QuietSchedule> parseSchedule(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,2}):(\\d{2})-(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const QTime start(m.captured(1).toInt(), m.captured(2).toInt());
    const QTime end(m.captured(3).toInt(), m.captured(4).toInt());
    if (!start.isValid() || !end.isValid()) {
        return std::nullopt;
    }
    return QuietSchedule{start, end, start.toString(u"HH:mm") + u'-' + end.toString(u"HH:mm")};
}

// 1 asks for the condition, 0 or nothing does not; anything else is said and left out.
bool readSwitch(const IniFile& settings, const QString& key, Log& log) {
    const std::optional<QString> value = settings.value(QStringLiteral("silence"), key);
    if (!value || value->isEmpty() || *value == u'0') {
        return false;
    }
    if (*value == u'1') {
        return true;
    }
    log.add(
        QCoreApplication::translate(
            "QuietHours", "[silence] %1 = « %2 » : 0 ou 1 attendu, ce critère est laissé de côté")
            .arg(key, *value));
    return false;
}

} // namespace

QuietSettings readQuietSettings(const IniFile& settings, Log& log) {
    QuietSettings read;
    if (!settings.hasSection(QStringLiteral("silence"))) {
        return read;
    }
    if (const std::optional<QString> schedule =
            settings.value(QStringLiteral("silence"), QStringLiteral("horaire"));
        schedule && !schedule->isEmpty()) {
        read.schedule = parseSchedule(*schedule);
        if (!read.schedule) {
            log.add(QCoreApplication::translate(
                        "QuietHours",
                        "[silence] horaire = « %1 » : HH:MM-HH:MM attendu, l'horaire est laissé "
                        "de côté")
                        .arg(*schedule));
        }
    }
    read.session = readSwitch(settings, QStringLiteral("verrouillage"), log);
    read.player = readSwitch(settings, QStringLiteral("musique"), log);
    log.selectLast();
    return read;
}

bool withinSchedule(const QuietSchedule& schedule, QTime now) {
    if (schedule.start == schedule.end) {
        return false;
    }
    if (schedule.start < schedule.end) {
        return schedule.start <= now && now < schedule.end;
    }
    return now >= schedule.start || now < schedule.end; // across midnight
}

QuietReason quietReason(const QuietSettings& settings, const QuietInputs& inputs) {
    if (settings.schedule && withinSchedule(*settings.schedule, inputs.now)) {
        return QuietReason::Schedule;
    }
    if (settings.session && inputs.session.locked) {
        return QuietReason::Locked;
    }
    if (settings.session && inputs.session.idle) {
        return QuietReason::Idle;
    }
    if (settings.player && !inputs.session.playing && inputs.stoppedMs >= kPlayerStoppedMs) {
        return QuietReason::PlayerStopped;
    }
    if (!inputs.backlightAsked) {
        return QuietReason::BacklightOff;
    }
    return QuietReason::None;
}

QString quietReasonText(QuietReason reason, const QuietSettings& settings) {
    switch (reason) {
    case QuietReason::Schedule:
        return QCoreApplication::translate("QuietHours", "horaire %1")
            .arg(settings.schedule ? settings.schedule->text : QString());
    case QuietReason::Locked:
        return QCoreApplication::translate("QuietHours", "session verrouillée");
    case QuietReason::Idle:
        return QCoreApplication::translate("QuietHours", "session inactive");
    case QuietReason::PlayerStopped:
        return QCoreApplication::translate("QuietHours", "lecteur arrêté depuis plus d'une minute");
    case QuietReason::BacklightOff:
        return QCoreApplication::translate("QuietHours",
                                           "rétroéclairage éteint depuis Home Assistant");
    case QuietReason::None:
        break;
    }
    return {};
}

QuietHours::QuietHours(QuietSettings settings, QuietClocks clocks, QObject* parent)
    : QObject(parent), conditions(std::move(settings)), clocks(std::move(clocks)) {
    stoppedSince = this->clocks.monotonicMs(); // no player is known to play yet
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer); // an edge of the schedule is not met early
    connect(&timer, &QTimer::timeout, this, &QuietHours::check);
}

QuietHours::~QuietHours() = default;

void QuietHours::watch(std::unique_ptr<SessionWatch> watch) {
    sessionWatch = std::move(watch);
    if (!sessionWatch) {
        conditions.session = conditions.player = false;
    }
    check();
}

void QuietHours::setSession(const SessionState& state) {
    if (state.playing) {
        stoppedSince.reset();
    } else if (!stoppedSince) {
        stoppedSince = clocks.monotonicMs();
    }
    session = state;
    check();
}

void QuietHours::askBacklight(bool on) {
    asked = on;
    check();
}

void QuietHours::wake(qint64 ms) {
    awakeUntil = std::max(awakeUntil, clocks.monotonicMs() + ms);
    check();
}

void QuietHours::check() {
    const qint64 now = clocks.monotonicMs();
    const QuietReason wanted =
        now < awakeUntil ? QuietReason::None
                         : quietReason(conditions, {clocks.wall().time(), session,
                                                    stoppedSince ? now - *stoppedSince : 0, asked});
    const qint64 next = nextCheckMs();
    if (next >= 0) {
        timer.start(int(std::min<qint64>(next, kDayMs)));
    } else {
        timer.stop();
    }
    if (wanted != current) {
        current = wanted;
        Q_EMIT changed(current);
    }
}

qint64 QuietHours::nextCheckMs() const {
    const qint64 now = clocks.monotonicMs();
    std::optional<qint64> next;
    const auto soonest = [&next](qint64 ms) { next = next ? std::min(*next, ms) : ms; };
    if (conditions.schedule && conditions.schedule->start != conditions.schedule->end) {
        const QTime time = clocks.wall().time();
        for (const QTime edge : {conditions.schedule->start, conditions.schedule->end}) {
            const qint64 ms = time.msecsTo(edge);
            soonest(ms > 0 ? ms : ms + kDayMs);
        }
    }
    if (conditions.player && stoppedSince && now - *stoppedSince < kPlayerStoppedMs) {
        soonest(*stoppedSince + kPlayerStoppedMs - now);
    }
    if (awakeUntil > now) {
        soonest(awakeUntil - now);
    }
    return next.value_or(-1);
}
