#include "profile/LoadProfile.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"
#include "profile/ProfileKeys.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringBuilder>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <iterator>

namespace {

const QString& kErr = profilekeys::kMissingText;
// What a missing line reads as, shared by every such line.
const QByteArray kErrText = QByteArrayLiteral("Err");
const auto& kLineKeys = profilekeys::kLine;
const auto& kScrollKeys = profilekeys::kScroll;
const QString& kTimeKey = profilekeys::kTime;
const QString& kNextKey = profilekeys::kNext;

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

// The lines of the pages, each made in the same buffer. A log that keeps a line shares its text,
// and the next line is made afresh as before; a log that only passes lines on leaves the room to
// the next one, which spares an allocation per line of a profile of 50 pages.
class PageLog {
public:
    explicit PageLog(Log& log) : log(log) {}
    template <typename Text> const QString& add(const Text& text) {
        line.resize(0);
        line += text;
        log.add(line);
        return line;
    }
    // A line made once for many places: the log shares its text.
    void addShared(const QString& text) { log.add(text); }
    // `pieces` joined by `number`, as the text they were split from would read with its "%1"
    // replaced by the number.
    void addNumbered(const QStringList& pieces, QLatin1StringView number) {
        line.resize(0);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                line += number;
            }
            line += pieces[i];
        }
        log.add(line);
    }
    void selectLast() { log.selectLast(); }

private:
    Log& log;
    QString line;
};

struct PageSection {
    int number;
    IniFile::Section section;
};

// Looked up once for its ten keys, by a name made on the stack.
PageSection findPage(const IniFile& ini, int number) {
    const Decimal decimal(number);
    const QLatin1StringView digits = decimal.text();
    char16_t name[16] = u"page_";
    std::copy(digits.begin(), digits.end(), name + 5);
    return {number, ini.section(QStringView(name, 5 + digits.size()))};
}

// The texts of the pages' log lines, translated once for the whole profile: a profile of 50 pages
// logs hundreds of them.
struct PageTexts {
    QString notANumber =
        QCoreApplication::translate("LoadProfile", "%1 de la page %2 n'est pas un nombre (« %3 »)");
    // Split where the page's number goes: every page beyond the file's logs it.
    QStringList absent =
        QCoreApplication::translate("LoadProfile", "Page %1 : section [page_%1] absente, ses "
                                                   "lignes affichent Err, time et next valent 0")
            .split(QStringLiteral("%1"));
    QString missing = QCoreApplication::translate("LoadProfile", "%1 de la page %2 manque");
    QString fixedLine = QCoreApplication::translate("LoadProfile", " : ligne fixe (0)");
    QString timeOutOfRange = QCoreApplication::translate(
        "LoadProfile", "time = %1 de la page %2 hors de 0 à 32 : ramené à %3");
    QString timeZero = QCoreApplication::translate("LoadProfile", " : 0, la page reste affichée");
    QString nextOutOfRange =
        QCoreApplication::translate("LoadProfile", "next = %1 de la page %2 hors de 0 à 50 : "
                                                   "remplacé par 0 (fin de la rotation)");
    QString nextZero =
        QCoreApplication::translate("LoadProfile", " : remplacé par 0 (fin de la rotation)");
};

// Why a number of a page cannot be used, in the user's terms: the key is missing, or what it
// holds is quoted, then what is done instead.
void logNotANumber(PageLog& log, const PageTexts& texts, const PageSection& page,
                   const QString& key, std::optional<QStringView> raw, const QString& instead) {
    const Decimal number(page.number);
    if (raw) {
        log.add(u"  " % texts.notANumber.arg(key, number.text(), *raw) % instead);
    } else {
        log.add(u"  " % texts.missing.arg(key, number.text()) % instead);
    }
}

std::optional<qint16> numberOf(std::optional<QStringView> raw) {
    return raw ? parseInt16(*raw) : std::nullopt;
}

// A scroll mode that is no number leaves the line fixed.
qint16 readScrollMode(const IniFile& ini, const PageSection& page, int line, PageLog& log,
                      const PageTexts& texts) {
    const QString& key = kScrollKeys[line];
    const std::optional<QStringView> raw = GetIni(ini, page.section, key);
    const std::optional<qint16> mode = numberOf(raw);
    if (!mode) {
        logNotANumber(log, texts, page, key, raw, texts.fixedLine);
    }
    return profilekeys::scrollMode(mode);
}

// The page timer takes at most 32 s; a page number beyond the tables ends the rotation.
PageNumbers readPageNumbers(const IniFile& ini, const PageSection& page, PageLog& log,
                            const PageTexts& texts) {
    PageNumbers numbers;
    const Decimal pageNumber(page.number);
    const std::optional<QStringView> rawTime = GetIni(ini, page.section, kTimeKey);
    const std::optional<qint16> time = numberOf(rawTime);
    numbers.time = profilekeys::pageTime(time);
    if (time) {
        if (numbers.time != *time) {
            log.add(u"  " % texts.timeOutOfRange.arg(Decimal(*time).text(), pageNumber.text(),
                                                     Decimal(numbers.time).text()));
        }
    } else {
        logNotANumber(log, texts, page, kTimeKey, rawTime, texts.timeZero);
    }
    const std::optional<QStringView> rawNext = GetIni(ini, page.section, kNextKey);
    const std::optional<qint16> next = numberOf(rawNext);
    numbers.next = profilekeys::pageNext(next);
    if (next) {
        if (numbers.next != *next) {
            log.add(u"  " % texts.nextOutOfRange.arg(Decimal(*next).text(), pageNumber.text()));
        }
    } else {
        logNotANumber(log, texts, page, kNextKey, rawNext, texts.nextZero);
    }
    return numbers;
}

LoadOutcome refuse(Log& log, const QString& why) {
    log.add(QCoreApplication::translate("LoadProfile", "%1 : rien n'est chargé").arg(why));
    log.add(kLogSeparator);
    log.add(QCoreApplication::translate("LoadProfile", "Chargement du fichier de commande") +
            QStringLiteral(" -> ") + QCoreApplication::translate("LoadProfile", "ANNULÉ"));
    log.add(kLogSeparator);
    log.selectLast();
    return {why};
}

} // namespace

LoadOutcome LoadProfile(const QString& path, ProfileLoad target) {
    return LoadProfile(path, IniFile::load(path), std::move(target));
}

LoadOutcome LoadProfile(const QString& path, const IniFile& ini, ProfileLoad target) {
    Log& log = target.log;
    log.add(kLogSeparator);
    const QString loading =
        QCoreApplication::translate("LoadProfile", "Chargement du fichier de commande");
    log.add(loading + QStringLiteral(" -> ") + path);
    log.add(kLogSeparator);

    if (!ini.exists()) {
        return refuse(
            log,
            QFileInfo(path).isDir()
                ? QCoreApplication::translate("LoadProfile", "C'est un dossier, pas un profil")
                : QCoreApplication::translate("LoadProfile", "Fichier introuvable ou illisible"));
    }
    if (!ini.hasSection(profilekeys::kParam)) {
        return refuse(log, QCoreApplication::translate(
                               "LoadProfile",
                               "Ce fichier n'a pas de section [param], ce n'est pas un profil"));
    }
    if (!ini.value(profilekeys::kParam, profilekeys::kPageCount)) {
        return refuse(log, QCoreApplication::translate(
                               "LoadProfile",
                               "La section [param] n'a pas de clé nb_pages (le nombre de pages)"));
    }
    const QString rawCount = GetIni(ini, profilekeys::kParam, profilekeys::kPageCount, kErr);
    bool isNumber = false;
    const int count = rawCount.toInt(&isNumber);
    if (!isNumber) {
        return refuse(log, QCoreApplication::translate(
                               "LoadProfile", "nb_pages (« %1 ») n'est pas un nombre entier")
                               .arg(rawCount));
    }

    namespace pk = profilekeys;
    target.params.vide = ansi::fromUnicode(GetIni(ini, pk::kParam, pk::kVide, kErr));
    target.params.plein = ansi::fromUnicode(GetIni(ini, pk::kParam, pk::kPlein, kErr));
    target.params.Ip_Local_Ex = ansi::fromUnicode(GetIni(ini, pk::kParam, pk::kIpLocalEx, kErr));

    const int pages = qBound(0, count, kLastPage);
    if (pages != count) {
        log.add(QCoreApplication::translate("LoadProfile",
                                            "nb_pages = %1 hors de 0 à 50 : %2 page(s) lue(s)")
                    .arg(count)
                    .arg(pages));
    }
    PageLog pageLog(log);
    const PageTexts pageTexts;
    // The words of the pages' lines, translated once for the whole profile.
    const QString pageWord = QCoreApplication::translate("LoadProfile", "Page");
    const QString lineWord = QCoreApplication::translate("LoadProfile", "Ligne");
    // The lines of a page the file lacks read the same on every such page, and a count beyond
    // the file's pages is common: each is made once.
    std::array<QString, kLinesPerPage> absentLines;
    for (int p = 1; p <= pages; ++p) {
        const PageSection page = findPage(ini, p);
        const Decimal number(p);
        pageLog.add(pageWord % u' ' % number.text() % u"-->");
        // A page the count promises but the file lacks reads as its keys would, missing, with
        // one line for the page rather than one for each key.
        const bool absent = page.section.header < 0;
        if (absent) {
            pageLog.addNumbered(pageTexts.absent, number.text());
        }
        for (int l = 0; l < kLinesPerPage; ++l) {
            const std::optional<QStringView> text = GetIni(ini, page.section, kLineKeys[l]);
            LineRecord& record = target.pages.PageTable[p][l];
            record = freshLine(text ? ansi::fromUnicode(*text) : kErrText, kScrollFixed);
            if (!absent) {
                record.ScrollMode = readScrollMode(ini, page, l, pageLog, pageTexts);
            }
            if (absent && !absentLines[l].isNull()) {
                pageLog.addShared(absentLines[l]);
            } else {
                const QString& made = pageLog.add(lineWord % u' ' % Decimal(l).text() % u'=' %
                                                  ansi::AsUnicode{record.Text} % u" / " %
                                                  Decimal(record.ScrollMode).text());
                if (absent) {
                    absentLines[l] = made;
                }
            }
            pageLog.selectLast();
        }
        const PageNumbers numbers =
            absent ? PageNumbers{} : readPageNumbers(ini, page, pageLog, pageTexts);
        target.pages.PageTiming[p][kPageTime] = numbers.time;
        target.pages.PageTiming[p][kPageNext] = numbers.next;
    }

    target.loadFirstPage();

    log.add(kLogSeparator);
    log.add(loading + QStringLiteral(" -> OK"));
    log.add(kLogSeparator);
    log.selectLast();
    return {};
}
