#include "engine/ReadParm.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

const QString kSection = QStringLiteral("parametres");

struct NumericKey {
    const char* key;
    const char* label;
    qint16 DisplayConfig::*field;
};

constexpr NumericKey kNumericKeys[] = {
    {"TypeLCD", QT_TRANSLATE_NOOP("ReadParm", "TypeLCD"), &DisplayConfig::TypeLCD},
    {"COM", QT_TRANSLATE_NOOP("ReadParm", "PortCOM"), &DisplayConfig::COM},
    {"C", QT_TRANSLATE_NOOP("ReadParm", "Colonnes"), &DisplayConfig::C},
    {"L", QT_TRANSLATE_NOOP("ReadParm", "Lignes"), &DisplayConfig::L},
    {"contrast", QT_TRANSLATE_NOOP("ReadParm", "Contrast"), &DisplayConfig::contrast},
    {"backlight", QT_TRANSLATE_NOOP("ReadParm", "BackLight"), &DisplayConfig::backlight},
    {"refresh", QT_TRANSLATE_NOOP("ReadParm", "Refresh"), &DisplayConfig::refresh},
    {"scrolling", QT_TRANSLATE_NOOP("ReadParm", "Scrolling"), &DisplayConfig::scrolling},
};

struct DirectoryKey {
    const char* key;
    const char* label;
    QByteArray DisplayConfig::*field;
};

constexpr DirectoryKey kDirectoryKeys[] = {
    {"rep_winamp", QT_TRANSLATE_NOOP("ReadParm", "Répertoire winamp"), &DisplayConfig::rep_winamp},
    {"rep_seti", QT_TRANSLATE_NOOP("ReadParm", "Répertoire seti"), &DisplayConfig::rep_seti},
    {"rep_HL", QT_TRANSLATE_NOOP("ReadParm", "Répertoire half-life"), &DisplayConfig::rep_HL},
};

void logBlock(Log& log, const QString& text) {
    log.add(kLogSeparator);
    log.add(text);
    log.add(kLogSeparator);
    log.selectLast();
}

// The box says only that the file failed; the log and standard error say which file, which key
// and why.
void reportFailure(const ReadParmContext& ctx, const QString& detail) {
    ctx.log.add(detail);
    ctx.log.selectLast();
    std::fprintf(stderr, "relayeur: %s\n", detail.toUtf8().constData());
    ctx.boxes.show(
        QCoreApplication::translate("ReadParm", "Erreur"),
        QCoreApplication::translate("ReadParm", "Erreur lors du chargement du fichier param.ini"),
        MessageIcon::Critical);
}

void announce(const ReadParmContext& ctx, const QString& text) {
    ctx.log.add(text);
    ctx.log.selectLast();
}

// What the test of an outside program found, then the name of the next one tested, if any.
void tell(const ReadParmContext& ctx, const QString& program, bool present,
          const QString& next = {}) {
    announce(ctx, program + QStringLiteral(" -> ") +
                      (present ? QStringLiteral("OK")
                               : QCoreApplication::translate("ReadParm", "ABSENT")));
    if (!next.isEmpty()) {
        announce(ctx, next);
    }
}

// The device of serial port COM (key COMn of [ports], else /dev/ttyS<n-1>) and the parallel
// port (key LPT1, else /dev/parport0) and the LCDd server (key LCDd, else localhost:13666), then
// the devices of the panels Linux reaches itself, each with the usual one as its default.
void readPorts(const IniFile& ini, DisplayConfig& config) {
    const QString ports = QStringLiteral("ports");
    const QString named = GetIni(ini, ports, QStringLiteral("COM%1").arg(config.COM), QString());
    config.serialDevice = !named.isEmpty() ? named
                          : config.COM > 0 ? QStringLiteral("/dev/ttyS%1").arg(config.COM - 1)
                                           : QString();
    config.parallelPort =
        GetIni(ini, ports, QStringLiteral("LPT1"), QStringLiteral("/dev/parport0"));
    config.lcddServer =
        GetIni(ini, ports, QStringLiteral("LCDd"), QStringLiteral("localhost:13666"));
    const auto read = [&](const char* key, const char* fallback) {
        return GetIni(ini, ports, QString::fromLatin1(key), QString::fromLatin1(fallback));
    };
    config.i2cBus = read("I2C", "/dev/i2c-1");
    config.i2cAddress = read("adresse", "0x27");
    config.i2cWiring = read("brochage", "1");
    config.gpioChip = read("GPIO", "gpiochip0");
    config.gpioPins = read("broches", "");
    config.charLcd = read("lcd", "/dev/lcd");
    config.mtxOrb = read("MtxOrb", "/dev/ttyACM0");
    config.mtxOrbSpeed = read("vitesse", "19200");
}

// reprendre=1 picks up the last profile; without the key, as with 0, start-up loads none.
void readResume(const ReadParmContext& ctx, const IniFile& ini) {
    const std::optional<QString> value = ini.value(kSection, QStringLiteral("reprendre"));
    ctx.config.reprendre = value == QStringLiteral("1");
    if (value && !ctx.config.reprendre && *value != QStringLiteral("0")) {
        ctx.log.add(QCoreApplication::translate(
                        "ReadParm",
                        "reprendre = « %1 » : 1 reprend le dernier profil au démarrage, 0 non ; il "
                        "n'est pas repris")
                        .arg(*value));
        ctx.log.selectLast();
    }
}

// [parametres] caracteres: ansi (the program's own bytes, and without the key), or the panel's
// character ROM, A00 or A02. Any other value is said in the log and read as ansi.
void readCharacters(const ReadParmContext& ctx, const IniFile& ini) {
    const QString value = GetIni(ini, kSection, QStringLiteral("caracteres"), QString());
    ctx.config.caracteres = CharacterSet::Ansi;
    if (value.compare(QLatin1String("A00"), Qt::CaseInsensitive) == 0) {
        ctx.config.caracteres = CharacterSet::A00;
    } else if (value.compare(QLatin1String("A02"), Qt::CaseInsensitive) == 0) {
        ctx.config.caracteres = CharacterSet::A02;
    } else if (!value.isEmpty() && value.compare(QLatin1String("ansi"), Qt::CaseInsensitive)) {
        ctx.log.add(QCoreApplication::translate(
                        "ReadParm",
                        "caracteres = %1 : valeur inconnue (ansi, A00 ou A02 attendu), ansi est "
                        "utilisé")
                        .arg(value));
        ctx.log.selectLast();
    }
}

// capteurs=1 has relayeur-sensors started when no sensor block is published; without it, or at
// 0, the block is only looked for.
void readSensorsSwitch(const ReadParmContext& ctx, const IniFile& ini) {
    const QString value = GetIni(ini, kSection, QStringLiteral("capteurs"), QString());
    ctx.config.capteurs = value == QLatin1String("1");
    if (!value.isEmpty() && !ctx.config.capteurs && value != QLatin1String("0")) {
        ctx.log.add(
            QCoreApplication::translate("ReadParm", "capteurs = %1 : 1 ou 0 attendu, lu comme 0")
                .arg(value));
        ctx.log.selectLast();
    }
}

bool readParameters(const ReadParmContext& ctx, const IniFile& ini) {
    Log& log = ctx.log;
    if (!ini.exists()) {
        reportFailure(ctx, QCoreApplication::translate("ReadParm", "%1 introuvable ou illisible")
                               .arg(ctx.settingsFile));
        return false;
    }
    for (const NumericKey& k : kNumericKeys) {
        const QString raw =
            GetIni(ini, kSection, QString::fromLatin1(k.key), QStringLiteral("Err"));
        const std::optional<qint16> value = parseInt16(raw);
        if (!value) {
            reportFailure(ctx, QCoreApplication::translate(
                                   "ReadParm",
                                   "%1 : la clé %2 de [parametres] vaut « %3 », pas un entier "
                                   "de -32768 à 32767")
                                   .arg(ctx.settingsFile, QString::fromLatin1(k.key), raw));
            return false;
        }
        ctx.config.*k.field = *value;
        log.add(QCoreApplication::translate("ReadParm", k.label) + QStringLiteral(" = ") +
                QString::number(*value));
    }
    for (const DirectoryKey& k : kDirectoryKeys) {
        QString dir = GetIni(ini, kSection, QString::fromLatin1(k.key), QStringLiteral("Err"));
        dir.replace('%', ' ');
        ctx.config.*k.field = ansi::fromUnicode(dir);
        log.add(QCoreApplication::translate("ReadParm", k.label) + QStringLiteral(" = ") +
                ansi::toUnicode(ctx.config.*k.field));
    }
    log.selectLast();
    return true;
}

// Lines 1 to 14 of the log, and the ports, the characters and the resume, which are read
// whatever became of the rest.
bool readSettings(const ReadParmContext& ctx) {
    ctx.log.add(kLogSeparator);
    ctx.log.add(
        QCoreApplication::translate("ReadParm", "Lecture du fichier de paramètre : param.ini ..."));
    ctx.log.add(kLogSeparator);
    const IniFile ini = IniFile::load(ctx.settingsFile);
    const bool read = readParameters(ctx, ini);
    readPorts(ini, ctx.config);
    readCharacters(ctx, ini);
    readResume(ctx, ini);
    ctx.config.lcddListen = GetIni(ini, QStringLiteral("serveur"), QStringLiteral("LCDd"), {});
    if (read) {
        readSensorsSwitch(ctx, ini);
    }
    return read;
}

} // namespace

std::vector<std::function<bool()>> ReadParmSteps(const ReadParmContext& ctx) {
    return {
        [ctx] { return readSettings(ctx); },
        [ctx] {
            logBlock(ctx.log, QCoreApplication::translate(
                                  "ReadParm", "Lecture du fichier de paramètre : param.ini -> OK"));
            logBlock(ctx.log,
                     QCoreApplication::translate("ReadParm", "Test des programmes externes ..."));
            announce(ctx, QStringLiteral("Winamp ..."));
            return true;
        },
        [ctx] {
            ctx.flags.WinampPresent = !ctx.config.rep_winamp.isEmpty();
            tell(ctx, QStringLiteral("Winamp"), ctx.flags.WinampPresent,
                 QStringLiteral("Seti ..."));
            return true;
        },
        [ctx] {
            ctx.flags.SetiPresent = !ctx.config.rep_seti.isEmpty();
            tell(ctx, QStringLiteral("Seti"), ctx.flags.SetiPresent,
                 QStringLiteral("Mother board monitor ..."));
            return true;
        },
        [ctx] {
            ctx.mbmTest();
            tell(ctx, QStringLiteral("Mother Board Monitor"), ctx.flags.MbmPresent);
            return true;
        },
    };
}
