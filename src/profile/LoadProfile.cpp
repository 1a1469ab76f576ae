#include "profile/LoadProfile.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"

#include <QFileInfo>

namespace {

const QString kErr = QStringLiteral("Err");

struct PageNumbers {
    qint16 time = 0;
    qint16 next = 0;
};

QString pageSection(int page) {
    return QStringLiteral("page_%1").arg(page);
}

// Why a number of a page cannot be used, in the user's terms: the key is missing, or what it
// holds is quoted (never the reader's default).
QString whyNotANumber(const IniFile& ini, int page, const QString& key, const QString& raw) {
    const QString where = QStringLiteral("  %1 de la page %2 ").arg(key).arg(page);
    return ini.value(pageSection(page), key)
               ? where + QStringLiteral("n'est pas un nombre (« %1 »)").arg(raw)
               : where + QStringLiteral("manque");
}

// A scroll mode that is no number leaves the line fixed.
qint16 readScrollMode(const IniFile& ini, int page, int line, Log& log) {
    const QString key = QStringLiteral("scroll%1").arg(line);
    const QString raw = GetIni(ini, pageSection(page), key, kErr);
    if (auto mode = parseInt16(raw)) {
        return *mode;
    }
    log.add(whyNotANumber(ini, page, key, raw) + QStringLiteral(" : ligne fixe (0)"));
    return kScrollFixed;
}

// The page timer takes at most 32 s; a page number beyond the tables ends the rotation.
PageNumbers readPageNumbers(const IniFile& ini, int page, Log& log) {
    PageNumbers numbers;
    const QString section = pageSection(page);
    const QString rawTime = GetIni(ini, section, QStringLiteral("time"), kErr);
    if (auto time = parseInt16(rawTime)) {
        numbers.time = static_cast<qint16>(qBound(0, static_cast<int>(*time), 32));
        if (numbers.time != *time) {
            log.add(QStringLiteral("  time = %1 de la page %2 hors de 0 à 32 : ramené à %3")
                        .arg(*time)
                        .arg(page)
                        .arg(numbers.time));
        }
    } else {
        log.add(whyNotANumber(ini, page, QStringLiteral("time"), rawTime) +
                QStringLiteral(" : 0, la page reste affichée"));
    }
    const QString rawNext = GetIni(ini, section, QStringLiteral("next"), kErr);
    if (auto next = parseInt16(rawNext)) {
        if (*next >= 0 && *next <= kLastPage) {
            numbers.next = *next;
        } else {
            log.add(QStringLiteral("  next = %1 de la page %2 hors de 0 à 50 : remplacé par 0 "
                                   "(fin de la rotation)")
                        .arg(*next)
                        .arg(page));
        }
    } else {
        log.add(whyNotANumber(ini, page, QStringLiteral("next"), rawNext) +
                QStringLiteral(" : remplacé par 0 (fin de la rotation)"));
    }
    return numbers;
}

void logRefusal(Log& log, const QString& why) {
    log.add(why);
    log.add(kLogSeparator);
    log.add(QStringLiteral("Chargement du fichier de commande -> ANNULÉ"));
    log.add(kLogSeparator);
    log.selectLast();
}

} // namespace

bool LoadProfile(const QString& path, ProfileLoad target) {
    Log& log = target.log;
    log.add(kLogSeparator);
    log.add(QStringLiteral("Chargement du fichier de commande -> ") + path);
    log.add(kLogSeparator);

    const IniFile ini = IniFile::load(path);
    if (!ini.exists()) {
        logRefusal(log,
                   QFileInfo(path).isDir()
                       ? QStringLiteral("C'est un dossier, pas un profil : rien n'est chargé")
                       : QStringLiteral("Fichier introuvable ou illisible : rien n'est chargé"));
        return false;
    }
    if (!ini.hasSection(QStringLiteral("param"))) {
        logRefusal(log, QStringLiteral("Ce fichier n'a pas de section [param] : ce n'est pas un "
                                       "profil, rien n'est chargé"));
        return false;
    }
    if (!ini.value(QStringLiteral("param"), QStringLiteral("nb_pages"))) {
        logRefusal(log, QStringLiteral("La section [param] n'a pas de clé nb_pages (le nombre de "
                                       "pages) : rien n'est chargé"));
        return false;
    }
    const QString rawCount = GetIni(ini, QStringLiteral("param"), QStringLiteral("nb_pages"), kErr);
    bool isNumber = false;
    const int count = rawCount.toInt(&isNumber);
    if (!isNumber) {
        logRefusal(log, QStringLiteral("nb_pages (« ") + rawCount +
                            QStringLiteral(" ») n'est pas un nombre entier : rien n'est chargé"));
        return false;
    }

    target.params.vide = ansi::fromUnicode(GetIni(ini, QStringLiteral("param"), "vide", kErr));
    target.params.plein = ansi::fromUnicode(GetIni(ini, QStringLiteral("param"), "plein", kErr));
    target.params.Ip_Local_Ex =
        ansi::fromUnicode(GetIni(ini, QStringLiteral("param"), "Ip_Local_Ex", kErr));

    const int pages = qBound(0, count, kLastPage);
    if (pages != count) {
        log.add(QStringLiteral("nb_pages = %1 hors de 0 à 50 : %2 page(s) lue(s)")
                    .arg(count)
                    .arg(pages));
    }
    for (int p = 1; p <= pages; ++p) {
        log.add(QStringLiteral("Page %1-->").arg(p));
        for (int l = 0; l < kLinesPerPage; ++l) {
            const QString text =
                GetIni(ini, pageSection(p), QStringLiteral("ligne%1").arg(l), kErr);
            LineRecord& record = target.pages.PageTable[p][l];
            record = freshLine(ansi::fromUnicode(text), kScrollFixed);
            record.ScrollMode = readScrollMode(ini, p, l, log);
            log.add(QStringLiteral("Ligne %1=").arg(l) + ansi::toUnicode(record.Text) +
                    QStringLiteral(" / %1").arg(record.ScrollMode));
            log.selectLast();
        }
        const PageNumbers numbers = readPageNumbers(ini, p, log);
        target.pages.PageTiming[p][kPageTime] = numbers.time;
        target.pages.PageTiming[p][kPageNext] = numbers.next;
    }

    target.loadFirstPage();

    log.add(kLogSeparator);
    log.add(QStringLiteral("Chargement du fichier de commande -> OK"));
    log.add(kLogSeparator);
    log.selectLast();
    return true;
}
