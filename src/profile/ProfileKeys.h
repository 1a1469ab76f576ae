#pragma once

#include "profile/PageModel.h"

#include <QString>
#include <QStringView>
#include <optional>

// The keys of a .tlcd profile, named once for the loader and the editor, and how the loader takes
// the numbers of a page.
namespace profilekeys {

inline const QString kParam = QStringLiteral("param");
inline const QString kPageCount = QStringLiteral("nb_pages");
inline const QString kPlein = QStringLiteral("plein");
inline const QString kVide = QStringLiteral("vide");
inline const QString kIpLocalEx = QStringLiteral("Ip_Local_Ex");
inline const QString kLine[kLinesPerPage] = {QStringLiteral("ligne0"), QStringLiteral("ligne1"),
                                             QStringLiteral("ligne2"), QStringLiteral("ligne3")};
inline const QString kScroll[kLinesPerPage] = {QStringLiteral("scroll0"), QStringLiteral("scroll1"),
                                               QStringLiteral("scroll2"),
                                               QStringLiteral("scroll3")};
inline const QString kTime = QStringLiteral("time");
inline const QString kNext = QStringLiteral("next");
// What a missing key of text reads as.
inline const QString kMissingText = QStringLiteral("Err");

inline QString pageSection(int page) {
    return QStringLiteral("page_") + QString::number(page);
}

// The page timer takes at most 32 s: a time that is no number is 0, the page stays.
constexpr int kLongestTime = 32;
inline qint16 pageTime(std::optional<qint16> read) {
    return read ? static_cast<qint16>(qBound(0, static_cast<int>(*read), kLongestTime)) : 0;
}
// A page number beyond the tables, or no number, ends the rotation.
inline qint16 pageNext(std::optional<qint16> read) {
    return read && *read >= 0 && *read <= kLastPage ? *read : 0;
}
// A scroll mode that is no number leaves the line fixed.
inline qint16 scrollMode(std::optional<qint16> read) {
    return read.value_or(kScrollFixed);
}

} // namespace profilekeys
