#include "profile/LoadProfile.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"

#include <QFileInfo>
#include <QStringBuilder>
#include <charconv>
#include <iterator>

namespace {

const QString kErr = QStringLiteral("Err");
// The keys of a page, named once: a profile has up to 50 pages of them.
const QString kLineKeys[kLinesPerPage] = {QStringLiteral("ligne0"), QStringLiteral("ligne1"),
                                          QStringLiteral("ligne2"), QStringLiteral("ligne3")};
const QString kScrollKeys[kLinesPerPage] = {QStringLiteral("scroll0"), QStringLiteral("scroll1"),
                                            QStringLiteral("scroll2"), QStringLiteral("scroll3")};
const QString kTimeKey = QStringLiteral("time");
const QString kNextKey = QStringLiteral("next");

struct PageNumbers {
    qint16 time = 0;
    qint16 next = 0;
};

// A number as the log writes it, on the stack: a profile logs hundreds of them.
class Decimal {
public:
    explicit Decimal(int n) : size(std::to_chars(digits, std::end(digits), n).ptr - digits) {}
    QLatin1StringView text() const { return {digits, size}; }

private:
    char digits[12];
    qsizetype size;
};

struct PageSection {
    int number;
    QString name;
};

// Why a number of a page cannot be used, in the user's terms: the key is missing, or what it
// holds is quoted (never the reader's default), then what is done instead. A value other than
// the default can only come from the file, which spares looking the key up again.
QString whyNotANumber(const IniFile& ini, const PageSection& page, const QString& key,
                      const QString& raw, QStringView instead) {
    const Decimal number(page.number);
    if (raw != kErr || ini.value(page.name, key)) {
        return u"  " % key % u" de la page " % number.text() % u" n'est pas un nombre (« " % raw %
               u" »)" % instead;
    }
    return u"  " % key % u" de la page " % number.text() % u" manque" % instead;
}

// A scroll mode that is no number leaves the line fixed.
qint16 readScrollMode(const IniFile& ini, const PageSection& page, int line, Log& log) {
    const QString& key = kScrollKeys[line];
    const QString raw = GetIni(ini, page.name, key, kErr);
    if (auto mode = parseInt16(raw)) {
        return *mode;
    }
    log.add(whyNotANumber(ini, page, key, raw, u" : ligne fixe (0)"));
    return kScrollFixed;
}

// The page timer takes at most 32 s; a page number beyond the tables ends the rotation.
PageNumbers readPageNumbers(const IniFile& ini, const PageSection& page, Log& log) {
    PageNumbers numbers;
    const QString rawTime = GetIni(ini, page.name, kTimeKey, kErr);
    if (auto time = parseInt16(rawTime)) {
        numbers.time = static_cast<qint16>(qBound(0, static_cast<int>(*time), 32));
        if (numbers.time != *time) {
            log.add(u"  time = " % Decimal(*time).text() % u" de la page " %
                    Decimal(page.number).text() % u" hors de 0 à 32 : ramené à " %
                    Decimal(numbers.time).text());
        }
    } else {
        log.add(whyNotANumber(ini, page, kTimeKey, rawTime, u" : 0, la page reste affichée"));
    }
    const QString rawNext = GetIni(ini, page.name, kNextKey, kErr);
    if (auto next = parseInt16(rawNext)) {
        if (*next >= 0 && *next <= kLastPage) {
            numbers.next = *next;
        } else {
            log.add(u"  next = " % Decimal(*next).text() % u" de la page " %
                    Decimal(page.number).text() %
                    u" hors de 0 à 50 : remplacé par 0 (fin de la rotation)");
        }
    } else {
        log.add(
            whyNotANumber(ini, page, kNextKey, rawNext, u" : remplacé par 0 (fin de la rotation)"));
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
    return LoadProfile(path, IniFile::load(path), std::move(target));
}

bool LoadProfile(const QString& path, const IniFile& ini, ProfileLoad target) {
    Log& log = target.log;
    log.add(kLogSeparator);
    log.add(QStringLiteral("Chargement du fichier de commande -> ") + path);
    log.add(kLogSeparator);

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
        const PageSection page{p, u"page_" % Decimal(p).text()};
        log.add(u"Page " % Decimal(p).text() % u"-->");
        for (int l = 0; l < kLinesPerPage; ++l) {
            const QString text = GetIni(ini, page.name, kLineKeys[l], kErr);
            LineRecord& record = target.pages.PageTable[p][l];
            record = freshLine(ansi::fromUnicode(text), kScrollFixed);
            record.ScrollMode = readScrollMode(ini, page, l, log);
            log.add(u"Ligne " % Decimal(l).text() % u'=' % ansi::toUnicode(record.Text) % u" / " %
                    Decimal(record.ScrollMode).text());
            log.selectLast();
        }
        const PageNumbers numbers = readPageNumbers(ini, page, log);
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
