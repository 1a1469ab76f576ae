#pragma once

#include "model/Characters.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The display configuration, read once from param.ini at start-up.
struct DisplayConfig {
    qint16 C = 0;          // columns
    qint16 L = 0;          // lines, 1 to 4
    qint16 COM = 0;        // serial port number
    qint16 TypeLCD = 0;    // kind of panel
    qint16 contrast = 0;   // read and logged only
    qint16 backlight = 0;  // read and logged only
    qint16 refresh = 0;    // refresh period in milliseconds
    qint16 scrolling = 0;  // read and logged only
    QByteArray rep_winamp; // directories, in the panel's character set
    QByteArray rep_seti;
    QByteArray rep_HL;
    QString serialDevice; // [ports]: the device of serial port COM
    QString parallelPort; // [ports]: the parallel port, a device or "direct"
    QString lcddServer;   // [ports]: the LCDd server, host:port
    // reprendre=1: the newest recent profile is loaded and started at start-up
    bool reprendre = false;
    CharacterSet caracteres = CharacterSet::Ansi; // what the panel is sent: see Characters.h
    bool capteurs = false; // start relayeur-sensors when no sensor block is published
};

// Which outside programs the variables may ask.
struct PresenceFlags {
    bool WinampPresent = false;
    bool SetiPresent = false;
    bool MbmPresent = false;
    bool HLAvailable = false;
};
