#include "profile/ProfileMistakes.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"
#include "profile/ProfileKeys.h"
#include "render/Bargraph.h"
#include "render/VariableCatalogue.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>

namespace {

// What the loader keeps of a line.
constexpr int kLongestLine = kIniValueLength;

// The variables that write a plain number, longest first, so that %%temp10 goes before %%temp1.
const QList<QByteArray>& numericVariables() {
    static const QList<QByteArray> names = [] {
        QList<QByteArray> list;
        for (const CatalogueVariable& v : variableCatalogue()) {
            if (v.numeric) {
                list.append(v.name.toLatin1());
            }
        }
        std::sort(list.begin(), list.end(),
                  [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
        return list;
    }();
    return names;
}

// A token of a bar once every numeric variable stands for a number. What a value from outside
// (%%val(), %%mqtt()) holds is known only on the panel: it may be a number.
QByteArray withNumbers(QByteArrayView token) {
    QByteArray text = token.toByteArray();
    for (const QByteArrayView call : {QByteArrayView("%%val("), QByteArrayView("%%mqtt(")}) {
        for (qsizetype at; (at = text.indexOf(call)) >= 0;) {
            const qsizetype closing = text.indexOf(')', at);
            if (closing < 0) {
                break;
            }
            text.replace(at, closing + 1 - at, "0");
        }
    }
    for (const QByteArray& name : numericVariables()) {
        text.replace(name, "0");
    }
    return text;
}

class PageChecker {
public:
    PageChecker(QList<ProfileMistake>& found, int page) : found(found), page(page) {}

    void add(ProfileMistake::Kind kind, int line, const QString& text) {
        found.append({kind, page, line, text});
    }
    QString where(int line) const {
        return line < 0 ? QCoreApplication::translate("ProfileMistakes", "Page %1 : ").arg(page)
                        : QCoreApplication::translate("ProfileMistakes", "Page %1, ligne %2 : ")
                              .arg(page)
                              .arg(line + 1);
    }

    void bargraph(int line, const QByteArray& text) {
        const BargraphParts parts = bargraphParts(QByteArrayView(text));
        const char separator = bargraphDecimalSeparator(QLocale::system());
        const struct {
            QByteArrayView token;
            const char* what;
        } numbers[] = {{parts.low, QT_TRANSLATE_NOOP("ProfileMistakes", "le minimum")},
                       {parts.high, QT_TRANSLATE_NOOP("ProfileMistakes", "le maximum")},
                       {parts.value, QT_TRANSLATE_NOOP("ProfileMistakes", "la valeur")}};
        for (const auto& number : numbers) {
            if (!bargraphNumber(withNumbers(number.token), separator)) {
                add(ProfileMistake::Kind::BargraphNotNumbers, line,
                    where(line) +
                        QCoreApplication::translate(
                            "ProfileMistakes",
                            "%1 du bargraphe n'est pas un nombre (« %2 ») ; la ligne s'écrit "
                            "« minimum maximum valeur [texte] », un seul espace entre eux")
                            .arg(QCoreApplication::translate("ProfileMistakes", number.what),
                                 ansi::toUnicode(number.token.toByteArray())));
                return;
            }
        }
        // Bounds written as numbers can be checked now; those of variables only on the panel.
        const std::optional<qint16> low = bargraphNumber(parts.low, separator);
        const std::optional<qint16> high = bargraphNumber(parts.high, separator);
        if (low && high && (*high - *low <= 0 || *high - *low > 32767)) {
            add(ProfileMistake::Kind::BargraphRange, line,
                where(line) + QCoreApplication::translate(
                                  "ProfileMistakes",
                                  "le maximum du bargraphe (%1) doit être au-dessus de son "
                                  "minimum (%2), de 32767 au plus")
                                  .arg(*high)
                                  .arg(*low));
        }
    }

    void characters(int line, const QString& text) {
        QString missing;
        for (const QChar c : text) {
            if (c != '?' && ansi::fromUnicode(QStringView(&c, 1)) == "?" && !missing.contains(c)) {
                missing += c;
            }
        }
        if (!missing.isEmpty()) {
            add(ProfileMistake::Kind::NotInCharacterSet, line,
                where(line) + QCoreApplication::translate(
                                  "ProfileMistakes",
                                  "l'afficheur ne peut pas montrer « %1 », qui deviendra « ? »")
                                  .arg(missing));
        }
    }

private:
    QList<ProfileMistake>& found;
    int page;
};

} // namespace

QList<ProfileMistake> findMistakes(const ProfileDocument& document, const DisplayConfig& config) {
    QList<ProfileMistake> found;
    const int pageCount = static_cast<int>(document.pages.size());
    const int panelLines = std::clamp<int>(config.L, 1, kLinesPerPage);
    for (int p = 0; p < pageCount; ++p) {
        const EditedPage& page = document.pages[p];
        PageChecker check(found, p + 1);
        int bigClockLine = -1;
        for (int l = 0; l < kLinesPerPage; ++l) {
            const QString& text = page.lines[l].text;
            if (text.size() > kLongestLine) {
                check.add(ProfileMistake::Kind::LineTooLong, l,
                          check.where(l) + QCoreApplication::translate(
                                               "ProfileMistakes",
                                               "%1 caractères, le programme n'en lit que %2 : "
                                               "la fin sera perdue")
                                               .arg(text.size())
                                               .arg(kLongestLine));
            }
            check.characters(l, text);
            if (page.lines[l].scroll == kScrollBargraph) {
                check.bargraph(l, ansi::fromUnicode(text.left(kLongestLine)));
            }
            // Each shown line after the clock's that is rebuilt from its variables takes the
            // clock's row away, and the clock no longer shows.
            if (l < panelLines && bigClockLine >= 0 && text.contains(QLatin1String("%%"))) {
                check.add(ProfileMistake::Kind::BigClockNotAlone, l,
                          check.where(l) + QCoreApplication::translate(
                                               "ProfileMistakes",
                                               "des variables sur une ligne après la grande "
                                               "horloge (ligne %1) l'empêchent de s'afficher")
                                               .arg(bigClockLine + 1));
            }
            if (l < panelLines && bigClockLine < 0 && text.contains(QLatin1String("%%big_time"))) {
                bigClockLine = l;
            }
        }
        if (page.time < 0 || page.time > profilekeys::kLongestTime) {
            check.add(ProfileMistake::Kind::TimeOutOfRange, -1,
                      check.where(-1) +
                          QCoreApplication::translate(
                              "ProfileMistakes", "la durée (%1 s) doit être de 0 à %2 secondes")
                              .arg(page.time)
                              .arg(profilekeys::kLongestTime));
        }
        if (page.next < 0 || page.next > pageCount) {
            check.add(ProfileMistake::Kind::NextMissing, -1,
                      check.where(-1) +
                          QCoreApplication::translate(
                              "ProfileMistakes",
                              "la page suivante (%1) n'existe pas : le profil a %2 page(s), et 0 "
                              "arrête la rotation")
                              .arg(page.next)
                              .arg(pageCount));
        }
    }
    return found;
}
