#pragma once

#include "drivers/ModuleLink.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class SerialLine;

// The line speed of a module that was never set otherwise.
constexpr int kMatrixOrbitalSpeed = 19200;

// A character module that speaks Matrix Orbital's command set on a serial line (their LCD, LK
// and VK modules, Adafruit's USB + serial backpack, the many Arduino sketches that copy them):
// text is written as it is, commands follow the byte 0xFE. The line is raw at `bitsPerSecond`,
// 8 data bits, no parity, one stop bit.
class MatrixOrbitalLink : public ModuleLink {
public:
    MatrixOrbitalLink(QString device, int bitsPerSecond, const ModuleSettings& settings);
    ~MatrixOrbitalLink() override;

    bool open(QString& error) override;
    void close() override;
    bool write(int line, int column, const QByteArray& codes, QString& error) override;
    bool defineGlyph(int slot, const GlyphRows& rows, QString& error) override;
    bool hasBacklight() const override;
    bool setBacklight(bool on, QString& error) override;

private:
    bool send(QByteArray bytes, QString& error);

    QString device;
    int bitsPerSecond;
    ModuleSettings settings;
    std::unique_ptr<SerialLine> line;
};

// The speed `vitesse` names, in bits per second; none unless it is one of the usual ones from
// 1200 to 115200.
std::optional<int> matrixOrbitalSpeed(const QString& text);

// The contrast byte sent for [parametres] contrast, a percentage: 1 to 100 spread over the
// module's 0 to 255, more than 100 taken as 100. None for 0 or less: the module keeps the
// contrast it has saved, as an unset contrast must not blank it.
std::optional<quint8> matrixOrbitalContrast(int percent);

// What a module answered to the module-type query.
struct MatrixOrbitalType {
    quint8 code = 0;
    QString model; // as Matrix Orbital names it, empty for a code this program does not know
    friend bool operator==(const MatrixOrbitalType&, const MatrixOrbitalType&) = default;
};

// The query's answer in what the line gave back after it: a module answers one byte, its type.
// Nothing, several bytes (a device that talks on its own) or the query sent back (a line that
// echoes) are no module's answer.
std::optional<MatrixOrbitalType> readModuleType(const QByteArray& answer);

// Sends the module-type query on `fd`, a raw serial line open for reading and writing, and reads
// the answer, for `waitMs` at most.
std::optional<MatrixOrbitalType> probeMatrixOrbital(int fd, int waitMs = 250);
