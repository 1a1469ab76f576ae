#pragma once

#include "drivers/ModuleLink.h"
#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

// The character LCD that Linux drives itself (the charlcd device of the hd44780 and panel
// modules, /dev/lcd): the kernel does the controller's waits, and the program writes text and
// escape sequences. A write may take the time the controller takes, so only the panel's own
// thread calls it. The device has no contrast: that is a potentiometer on the module.
class KernelLcdLink : public ModuleLink {
public:
    KernelLcdLink(QString device, const ModuleSettings& settings);

    bool open(QString& error) override;
    void close() override;
    bool write(int line, int column, const QByteArray& codes, QString& error) override;
    bool defineGlyph(int slot, const GlyphRows& rows, QString& error) override;
    bool hasBacklight() const override;
    bool setBacklight(bool on, QString& error) override;

private:
    bool send(const QByteArray& bytes, QString& error);

    QString device;
    ModuleSettings settings;
    FileDescriptor fd;
};
