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
    // [ports] of the panels driven through Linux's own devices, as written; each panel reads
    // its own and says in the log what it cannot use.
    QString i2cBus;      // I2C: the i2c-dev device of a PCF8574 backpack (TypeLCD 5)
    QString i2cAddress;  // adresse: the backpack's address, 0x27 or 0x3F mostly
    QString i2cWiring;   // brochage: how the backpack wires the expander to the module, 1 to 3
    QString gpioChip;    // GPIO: the GPIO chip of a module wired to GPIO lines (TypeLCD 6)
    QString gpioPins;    // broches: RS,E,D4,D5,D6,D7[,BL] line numbers
    QString charLcd;     // lcd: the kernel's character LCD device (TypeLCD 7)
    QString mtxOrb;      // MtxOrb: a Matrix Orbital-compatible module's serial device (TypeLCD 8)
    QString mtxOrbSpeed; // vitesse: its line speed
    // reprendre=1: the newest recent profile is loaded and started at start-up
    bool reprendre = false;
    CharacterSet caracteres = CharacterSet::Ansi; // what the panel is sent: see Characters.h
    bool capteurs = false; // start relayeur-sensors when no sensor block is published
    // [serveur] LCDd: where LCDd's clients find Relayeur, host:port as written; empty: nowhere
    QString lcddListen;
};

// Which outside programs the variables may ask.
struct PresenceFlags {
    bool WinampPresent = false;
    bool SetiPresent = false;
    bool MbmPresent = false;
    bool HLAvailable = false;
};
