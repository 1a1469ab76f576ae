#include "engine/NamedValues.h"

#include "platform/AnsiText.h"
#include "platform/ChildProcess.h"
#include "platform/FileDescriptor.h"
#include "platform/USEINI.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// A period in milliseconds must fit a timer's int.
constexpr int kLongestPeriodSeconds = 2'000'000;
// Enough bytes for a first line of 127 characters in any encoding; the rest is never shown.
constexpr qsizetype kKeptBytes = 4096;

bool isWord(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// What one run gave, handed from its worker to the window's thread.
struct Outcome {
    enum class Status { Read, CannotStart, Failed, Signalled, TimedOut, Missing, Unreadable };
    Status status = Status::Read;
    int code = 0; // exit status, signal number or errno
    QByteArray bytes;
};

// What the workers share with the values. A worker may outlive them (a read that hangs for ever):
// it then drops its result, and a command it starts is killed at once.
struct Shared {
    std::mutex mutex;
    NamedValues* owner = nullptr; // null once the values are gone
    std::set<pid_t> groups;       // the commands running now, killed when the values go
};

Outcome runCommand(Shared& shared, const QByteArray& command, int timeoutMs) {
    ChildProcess child(command);
    if (child.startError() != 0) {
        return {Outcome::Status::CannotStart, child.startError(), {}};
    }
    {
        const std::lock_guard lock(shared.mutex);
        if (shared.owner == nullptr) {
            return {};
        }
        shared.groups.insert(child.processGroup());
    }
    ChildProcess::Result result = child.finish(timeoutMs, kKeptBytes);
    {
        // Out of the list before the child object reaps it: the group cannot be killed by
        // mistake once its number is free again.
        const std::lock_guard lock(shared.mutex);
        shared.groups.erase(child.processGroup());
    }
    switch (result.end) {
    case ChildProcess::Result::End::TimedOut:
        return {Outcome::Status::TimedOut, 0, {}};
    case ChildProcess::Result::End::Signalled:
        return {Outcome::Status::Signalled, result.code, {}};
    case ChildProcess::Result::End::Exited:
        break;
    }
    if (result.code != 0) {
        return {Outcome::Status::Failed, result.code, {}};
    }
    return {Outcome::Status::Read, 0, std::move(result.output)};
}

// Plain blocking calls: a FIFO or a file system that does not answer holds this worker only.
Outcome readFirstLine(const QString& path) {
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return {
            errno == ENOENT ? Outcome::Status::Missing : Outcome::Status::Unreadable, errno, {}};
    }
    QByteArray bytes;
    char buffer[512];
    while (bytes.size() < kKeptBytes && !bytes.contains('\n')) {
        const ssize_t count = ::read(file.get(), buffer,
                                     std::min<qsizetype>(sizeof buffer, kKeptBytes - bytes.size()));
        if (count == 0) {
            break;
        }
        if (count < 0 && errno != EINTR) {
            return {Outcome::Status::Unreadable, errno, {}};
        }
        bytes.append(buffer, std::max<ssize_t>(count, 0));
    }
    return {Outcome::Status::Read, 0, bytes};
}

// The first line without its line end, at most 127 characters, in the panel's character set.
// UTF-8 when it is valid UTF-8 (a character cut at the end of what was kept does not count),
// Windows-1252 otherwise.
QByteArray firstLine(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.first(end);
    while (line.endsWith('\r')) {
        line.chop(1);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(line);
    if (utf8.hasError()) {
        text = ansi::toUnicode(line);
    }
    return ansi::fromUnicode(
        QStringView(text).first(std::min<qsizetype>(text.size(), kIniValueLength)));
}

QString errorText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QString secondsText(int milliseconds) {
    return QString::number(milliseconds / 1000.0);
}

} // namespace

std::vector<ValueSetting> readValueSettings(const IniFile& ini, Log& log) {
    const QString sectionName = QStringLiteral("valeurs");
    const IniFile::Section section = ini.section(sectionName);
    std::vector<ValueSetting> settings;
    bool told = false;
    auto refuse = [&](const QString& name, const QString& why) {
        log.add(name.isEmpty() ? NamedValues::tr("Valeur sans nom ignorée : %1").arg(why)
                               : NamedValues::tr("Valeur %1 ignorée : %2").arg(name, why));
        told = true;
    };
    for (const QString& name : ini.keys(sectionName)) {
        const QString text = ini.view(section, name).value_or(QStringView()).toString();
        if (name.isEmpty()) {
            refuse(name, NamedValues::tr("« =%1 » : il faut un nom avant le signe =").arg(text));
            continue;
        }
        const qsizetype colon = text.indexOf(':');
        const QStringView kind =
            colon < 0 ? QStringView() : QStringView(text).first(colon).trimmed();
        if (!isWord(kind)) {
            refuse(
                name,
                NamedValues::tr("« %1 » ne commence ni par commande: ni par fichier:").arg(text));
            continue;
        }
        ValueSetting setting;
        setting.name = name;
        if (kind.compare(u"commande", Qt::CaseInsensitive) == 0) {
            setting.kind = ValueSetting::Kind::Command;
        } else if (kind.compare(u"fichier", Qt::CaseInsensitive) == 0) { // texte du format
            setting.kind = ValueSetting::Kind::File;
        } else {
            refuse(name,
                   NamedValues::tr("« %1: » n'est pas un genre connu, seuls commande: et fichier: "
                                   "le sont")
                       .arg(kind));
            continue;
        }
        // A command may hold pipes of its own: the period follows the last '|'.
        const qsizetype bar = text.lastIndexOf('|');
        if (bar < colon) {
            refuse(name,
                   NamedValues::tr("il manque la période en secondes, après un « | » à la fin"));
            continue;
        }
        const QStringView period = QStringView(text).sliced(bar + 1).trimmed();
        bool isNumber = false;
        setting.periodSeconds = period.toInt(&isNumber);
        if (!isNumber || setting.periodSeconds < 1 ||
            setting.periodSeconds > kLongestPeriodSeconds) {
            refuse(name, NamedValues::tr("la période « %1 » n'est pas un nombre entier de secondes "
                                         "de 1 à %2")
                             .arg(period)
                             .arg(kLongestPeriodSeconds));
            continue;
        }
        setting.target = QStringView(text).sliced(colon + 1, bar - colon - 1).trimmed().toString();
        if (setting.target.isEmpty()) {
            refuse(name, setting.kind == ValueSetting::Kind::Command
                             ? NamedValues::tr("la commande est vide")
                             : NamedValues::tr("le chemin du fichier est vide"));
            continue;
        }
        settings.push_back(std::move(setting));
    }
    if (told) {
        log.selectLast();
    }
    return settings;
}

struct NamedValues::State {
    struct Entry {
        ValueSetting setting;
        QByteArray value;
        QTimer* timer = nullptr; // owned by the values
        bool running = false;
        quint64 runs = 0;
        bool failing = false; // said in the log, until the value comes back
    };

    State(NamedValues& owner, std::vector<ValueSetting> settings, Log& log, Limits limits)
        : owner(owner), log(log), limits(limits) {
        shared->owner = &owner;
        for (ValueSetting& setting : settings) {
            entries.push_back({std::move(setting), {}, new QTimer(&owner)});
        }
    }

    void launch(std::size_t index);
    void received(std::size_t index, const Outcome& outcome);
    void complain(Entry& entry, const QString& reason);

    NamedValues& owner;
    Log& log;
    const Limits limits;
    std::vector<Entry> entries;
    const std::shared_ptr<Shared> shared = std::make_shared<Shared>();
};

NamedValues::NamedValues(std::vector<ValueSetting> settings, Log& log, Limits limits,
                         QObject* parent)
    : QObject(parent), state(std::make_unique<State>(*this, std::move(settings), log, limits)) {}

NamedValues::~NamedValues() {
    const std::lock_guard lock(state->shared->mutex);
    state->shared->owner = nullptr;
    for (const pid_t group : state->shared->groups) {
        ::kill(-group, SIGKILL);
    }
}

void NamedValues::start() {
    for (std::size_t i = 0; i < state->entries.size(); ++i) {
        QTimer* timer = state->entries[i].timer;
        connect(timer, &QTimer::timeout, this, [this, i] { state->launch(i); });
        timer->start(state->entries[i].setting.periodSeconds * 1000);
        state->launch(i);
    }
}

std::optional<QByteArray> NamedValues::value(QByteArrayView name) const {
    const QString asked = ansi::toUnicode(name.toByteArray());
    for (const State::Entry& entry : state->entries) {
        if (entry.setting.name.compare(asked, Qt::CaseInsensitive) == 0) {
            return entry.value;
        }
    }
    return std::nullopt;
}

void NamedValues::State::launch(std::size_t index) {
    Entry& entry = entries[index];
    // A run still going skips this period: one value never has two runs at once.
    if (entry.running) {
        return;
    }
    entry.running = true;
    const quint64 run = ++entry.runs;
    const bool isCommand = entry.setting.kind == ValueSetting::Kind::Command;
    QString path = entry.setting.target;
    if (!isCommand && path.startsWith(QLatin1String("~/"))) {
        path = QDir::homePath() + path.sliced(1);
    }
    auto work = [shared = shared, index, isCommand, timeoutMs = limits.timeoutMs,
                 command = entry.setting.target.toLocal8Bit(), path] {
        Outcome outcome = isCommand ? runCommand(*shared, command, timeoutMs) : readFirstLine(path);
        const std::lock_guard lock(shared->mutex);
        if (NamedValues* values = shared->owner) {
            QMetaObject::invokeMethod(
                values, [values, index, outcome] { values->state->received(index, outcome); },
                Qt::QueuedConnection);
        }
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error& failure) {
        received(index, {isCommand ? Outcome::Status::CannotStart : Outcome::Status::Unreadable,
                         failure.code().value(),
                         {}});
        return;
    }
    // A command is stopped by its worker at the time limit; a read cannot be, so it is only told.
    if (!isCommand) {
        QTimer::singleShot(limits.timeoutMs, &owner, [this, index, run] {
            Entry& late = entries[index];
            if (late.running && late.runs == run) {
                complain(late, NamedValues::tr("la lecture du fichier %1 n'a pas fini après %2 s")
                                   .arg(late.setting.target, secondsText(limits.timeoutMs)));
            }
        });
    }
}

void NamedValues::State::received(std::size_t index, const Outcome& outcome) {
    Entry& entry = entries[index];
    entry.running = false;
    const QString& target = entry.setting.target;
    const bool isCommand = entry.setting.kind == ValueSetting::Kind::Command;
    switch (outcome.status) {
    case Outcome::Status::Read:
        break;
    case Outcome::Status::CannotStart:
        return complain(entry, NamedValues::tr("la commande n'a pas pu être lancée (%1)")
                                   .arg(errorText(outcome.code)));
    case Outcome::Status::Failed:
        return complain(
            entry, NamedValues::tr("la commande a échoué (code de sortie %1)").arg(outcome.code));
    case Outcome::Status::Signalled:
        return complain(
            entry, NamedValues::tr("la commande a été arrêtée par le signal %1").arg(outcome.code));
    case Outcome::Status::TimedOut:
        return complain(
            entry,
            NamedValues::tr("la commande a dépassé %1 s").arg(secondsText(limits.timeoutMs)));
    case Outcome::Status::Missing:
        return complain(entry, NamedValues::tr("le fichier %1 est introuvable").arg(target));
    case Outcome::Status::Unreadable:
        return complain(entry, NamedValues::tr("le fichier %1 ne peut pas être lu (%2)")
                                   .arg(target, errorText(outcome.code)));
    }
    const QByteArray line = firstLine(outcome.bytes);
    if (line.isEmpty()) {
        return complain(
            entry, isCommand ? NamedValues::tr("la commande n'a rien écrit")
                             : NamedValues::tr("la première ligne de %1 est vide").arg(target));
    }
    if (entry.failing) {
        entry.failing = false;
        log.add(NamedValues::tr("Valeur %1 : de nouveau à jour").arg(entry.setting.name));
        log.selectLast();
    }
    if (line != entry.value) {
        entry.value = line;
        Q_EMIT owner.changed(entry.setting.name);
    }
}

void NamedValues::State::complain(Entry& entry, const QString& reason) {
    if (entry.failing) {
        return;
    }
    entry.failing = true;
    log.add(NamedValues::tr("Valeur %1 : %2, la dernière valeur reste")
                .arg(entry.setting.name, reason));
    log.selectLast();
}
