#include "detect/PanelSearch.h"

#include "drivers/I2cBackpack.h"
#include "drivers/LcddProtocol.h"
#include "drivers/MatrixOrbital.h"
#include "platform/FileDescriptor.h"
#include "platform/I2cDevice.h"
#include "platform/NonBlockingStream.h"
#include "platform/SerialLine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <future>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A module answers within a few milliseconds; a USB adapter's latency timer adds 16 at most.
constexpr int kSerialWaitMs = 150;
constexpr int kLcddWaitMs = 500;
// PCF8574, then PCF8574A: the addresses their three address pins select.
constexpr std::pair<int, int> kExpanderRanges[] = {{0x20, 0x27}, {0x38, 0x3F}};

QStringList devices(const QString& folder, const QStringList& patterns) {
    QStringList found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(patterns, QDir::System | QDir::Files, QDir::Name)) {
        found << dir.filePath(name);
    }
    // Numbers in their order: i2c-2 before i2c-10.
    std::stable_sort(found.begin(), found.end(),
                     [](const QString& a, const QString& b) { return a.size() < b.size(); });
    return found;
}

bool isInUse(const std::optional<PanelInUse>& inUse, qint16 typeLcd, const QString& device,
             int address = -1) {
    return inUse && inUse->typeLcd == typeLcd && inUse->address == address &&
           QFileInfo(inUse->device).canonicalFilePath() == QFileInfo(device).canonicalFilePath();
}

// The I2C adapter's own name, which tells a board's header from a graphics card's.
QString adapterName(const DeviceDirs& dirs, const QString& bus) {
    QFile file(QStringLiteral("%1/class/i2c-dev/%2/name").arg(dirs.sys, QFileInfo(bus).fileName()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine().trimmed())
                                          : QString();
}

std::optional<MatrixOrbitalType> askMatrixOrbital(const QString& port, int bitsPerSecond,
                                                  int& error) {
    const SerialLine line(QFile::encodeName(port), *lineSpeed(bitsPerSecond), true);
    if (!line.isOpen()) {
        error = line.error();
        return std::nullopt;
    }
    return probeMatrixOrbital(line.get(), kSerialWaitMs);
}

std::optional<Candidate> askSerialPort(const QString& port, const QString& shownAs) {
    Candidate found;
    found.typeLcd = 8;
    found.device = port;
    found.shownAs = shownAs;
    for (const int speed : {kMatrixOrbitalSpeed, 9600}) {
        int error = 0;
        const std::optional<MatrixOrbitalType> type = askMatrixOrbital(port, speed, error);
        if (error == EACCES || error == EBUSY) {
            found.usable = false;
            found.answered =
                error == EACCES ? QCoreApplication::translate(
                                      "PanelSearch", "port série USB que vous n'avez pas le droit "
                                                     "d'ouvrir (groupe dialout) : pas interrogé")
                                : QCoreApplication::translate(
                                      "PanelSearch",
                                      "port série USB tenu par un autre programme : pas interrogé");
            return found;
        }
        if (error != 0) {
            return std::nullopt;
        }
        if (type) {
            found.speed = speed;
            found.answered = QCoreApplication::translate(
                                 "PanelSearch", "module Matrix Orbital %1 (type 0x%2) à %3 bit/s")
                                 .arg(type->model.isEmpty()
                                          ? QCoreApplication::translate("PanelSearch", "inconnu")
                                          : type->model)
                                 .arg(type->code, 2, 16, QChar(u'0'))
                                 .arg(speed);
            return found;
        }
    }
    return std::nullopt;
}

} // namespace

DeviceDirs DeviceDirs::under(const QString& root) {
    if (root.isEmpty()) {
        return {};
    }
    return {root + QStringLiteral("/dev"), root + QStringLiteral("/sys")};
}

std::vector<Candidate> searchI2c(const DeviceDirs& dirs, const std::optional<PanelInUse>& inUse) {
    std::vector<Candidate> found;
    for (const QString& bus : devices(dirs.dev, {QStringLiteral("i2c-*")})) {
        I2cDevice device(bus);
        const QString adapter = adapterName(dirs, bus);
        if (!device.isOpen()) {
            if (device.error() == EACCES) {
                Candidate closed;
                closed.typeLcd = 5;
                closed.device = bus;
                closed.usable = false;
                closed.answered = QCoreApplication::translate(
                    "PanelSearch", "bus I2C que vous n'avez pas le droit d'ouvrir (groupe i2c) : "
                                   "il n'a pas pu être interrogé");
                found.push_back(closed);
            }
            continue;
        }
        for (const auto& [first, last] : kExpanderRanges) {
            for (int address = first; address <= last; ++address) {
                Candidate candidate;
                candidate.typeLcd = 5;
                candidate.device = bus;
                candidate.address = address;
                if (isInUse(inUse, 5, bus, address)) {
                    candidate.inUse = true;
                    candidate.answered = QCoreApplication::translate(
                        "PanelSearch", "l'afficheur de Relayeur en marche");
                    found.push_back(candidate);
                    continue;
                }
                const std::optional<quint8> pins = device.readByteAt(address);
                if (!pins) {
                    continue;
                }
                candidate.answered =
                    QCoreApplication::translate("PanelSearch",
                                                "un extenseur PCF8574%1 a répondu (broches %2)%3")
                        .arg(address >= 0x38 ? QStringLiteral("A") : QString(),
                             backpackAddressText(*pins),
                             adapter.isEmpty()
                                 ? QString()
                                 : QCoreApplication::translate("PanelSearch", ", bus « %1 »")
                                       .arg(adapter));
                found.push_back(candidate);
            }
        }
    }
    return found;
}

std::vector<Candidate> searchSerialModules(const DeviceDirs& dirs,
                                           const std::optional<PanelInUse>& inUse) {
    // The by-id names stay the same from one plug to the next: those are the ones to write.
    QHash<QString, QString> steadyNames;
    const QDir byId(dirs.dev + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files)) {
        steadyNames.insert(QFileInfo(link.symLinkTarget()).fileName(), link.absoluteFilePath());
    }
    const QStringList ports =
        devices(dirs.dev, {QStringLiteral("ttyACM*"), QStringLiteral("ttyUSB*")});
    std::vector<std::future<std::optional<Candidate>>> asked;
    std::vector<Candidate> found;
    for (const QString& port : ports) {
        const QString shownAs = steadyNames.value(QFileInfo(port).fileName());
        if (isInUse(inUse, 8, port)) {
            Candidate busy;
            busy.typeLcd = 8;
            busy.device = port;
            busy.shownAs = shownAs;
            busy.inUse = true;
            busy.answered =
                QCoreApplication::translate("PanelSearch", "l'afficheur de Relayeur en marche");
            found.push_back(busy);
            continue;
        }
        // Each port waits for its own answer, all at once.
        asked.push_back(std::async(std::launch::async, askSerialPort, port, shownAs));
    }
    for (auto& answer : asked) {
        if (std::optional<Candidate> candidate = answer.get()) {
            found.push_back(*candidate);
        }
    }
    return found;
}

std::vector<Candidate> searchDeviceFiles(const DeviceDirs& dirs,
                                         const std::optional<PanelInUse>& inUse) {
    std::vector<Candidate> found;
    const QString lcd = dirs.dev + QStringLiteral("/lcd");
    if (QFileInfo::exists(lcd)) {
        Candidate candidate;
        candidate.typeLcd = 7;
        candidate.device = lcd;
        candidate.inUse = isInUse(inUse, 7, lcd);
        candidate.usable = ::access(QFile::encodeName(lcd).constData(), W_OK) == 0;
        candidate.answered =
            candidate.inUse
                ? QCoreApplication::translate("PanelSearch", "l'afficheur de Relayeur en marche")
            : candidate.usable
                ? QCoreApplication::translate("PanelSearch",
                                              "afficheur du noyau, accessible en écriture")
                : QCoreApplication::translate("PanelSearch",
                                              "afficheur du noyau, pas accessible en écriture pour "
                                              "vous (une règle udev doit vous le donner)");
        found.push_back(candidate);
    }
    for (const QString& port : devices(dirs.dev, {QStringLiteral("parport*")})) {
        Candidate candidate;
        candidate.typeLcd = 3;
        candidate.device = port;
        candidate.inUse = isInUse(inUse, 3, port);
        candidate.answered = QCoreApplication::translate(
            "PanelSearch", "port parallèle : rien ne peut y être demandé, un afficheur HD44780 y "
                           "est peut-être branché");
        found.push_back(candidate);
    }
    return found;
}

std::optional<Candidate> searchLcdd(const QString& server) {
    const std::optional<LcddAddress> address = parseLcddAddress(server);
    if (!address) {
        return std::nullopt;
    }
    const QDeadlineTimer deadline(kLcddWaitMs);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(QFile::encodeName(address->host).constData(),
                      QByteArray::number(address->port).constData(), &hints, &list) != 0) {
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(list, ::freeaddrinfo);
    for (const addrinfo* a = list; a != nullptr && !deadline.hasExpired(); a = a->ai_next) {
        const FileDescriptor socket(
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (socket.get() < 0 ||
            (::connect(socket.get(), a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS)) {
            continue;
        }
        pollfd ready{socket.get(), POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        if (::poll(&ready, 1, int(deadline.remainingTime())) != 1 ||
            ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            continue;
        }
        QByteArray hello("hello\n");
        QByteArray received;
        if (!stream::writeAll(socket.get(), hello, deadline)) {
            continue;
        }
        while (!received.contains('\n') && !deadline.hasExpired()) {
            pollfd readable{socket.get(), POLLIN, 0};
            if (::poll(&readable, 1, int(deadline.remainingTime())) != 1 ||
                stream::readSome(socket.get(), received, 4096)) {
                break;
            }
        }
        const std::optional<LcddSize> size =
            parseLcddGreeting(received.left(received.indexOf('\n')));
        if (!size) {
            return std::nullopt;
        }
        Candidate found;
        found.typeLcd = 4;
        found.device = QStringLiteral("%1:%2").arg(address->host).arg(address->port);
        found.columns = size->width;
        found.lines = size->height;
        found.answered =
            QCoreApplication::translate("PanelSearch", "serveur LCDd, afficheur de %1x%2")
                .arg(size->width)
                .arg(size->height);
        return found;
    }
    return std::nullopt;
}

std::vector<Candidate> searchPanels(const SearchPlaces& places) {
    // LCDd and the serial ports wait for answers while the I2C buses are read.
    auto lcdd = std::async(std::launch::async, searchLcdd, places.lcddServer);
    auto serial = std::async(std::launch::async, searchSerialModules, places.dirs, places.inUse);
    std::vector<Candidate> found = searchI2c(places.dirs, places.inUse);
    for (Candidate& candidate : serial.get()) {
        found.push_back(std::move(candidate));
    }
    for (Candidate& candidate : searchDeviceFiles(places.dirs, places.inUse)) {
        found.push_back(std::move(candidate));
    }
    if (std::optional<Candidate> server = lcdd.get()) {
        found.push_back(*server);
    }
    return found;
}
