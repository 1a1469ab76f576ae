#include "profile/ProfileDocument.h"

#include "platform/AnsiText.h"
#include "platform/USEINI.h"
#include "profile/ProfileKeys.h"

namespace pk = profilekeys;

namespace {

// The keys as the loader reads them from `ini`: texts cut where the loader cuts them, numbers
// brought into range, missing keys as their defaults.
QString textOf(const IniFile& ini, IniFile::Section section, const QString& key) {
    const std::optional<QStringView> value = GetIni(ini, section, key);
    return value ? value->toString() : pk::kMissingText;
}

std::optional<qint16> numberOf(const IniFile& ini, IniFile::Section section, const QString& key) {
    const std::optional<QStringView> value = GetIni(ini, section, key);
    return value ? parseInt16(*value) : std::nullopt;
}

// The number of pages the file holds for the loader; none when it would refuse it.
std::optional<int> pageCountOf(const IniFile& ini) {
    bool isNumber = false;
    const int count = GetIni(ini, pk::kParam, pk::kPageCount, pk::kMissingText).toInt(&isNumber);
    return isNumber ? std::optional<int>(qBound(0, count, kLastPage)) : std::nullopt;
}

EditedPage pageOf(const IniFile& ini, int number) {
    EditedPage page;
    const IniFile::Section section = ini.section(pk::pageSection(number));
    for (int l = 0; l < kLinesPerPage; ++l) {
        page.lines[l].text = textOf(ini, section, pk::kLine[l]);
        page.lines[l].scroll = pk::scrollMode(numberOf(ini, section, pk::kScroll[l]));
    }
    page.time = pk::pageTime(numberOf(ini, section, pk::kTime));
    page.next = pk::pageNext(numberOf(ini, section, pk::kNext));
    return page;
}

ProfileDocument documentOf(IniFile ini) {
    ProfileDocument document;
    const IniFile::Section param = ini.section(pk::kParam);
    document.plein = textOf(ini, param, pk::kPlein);
    document.vide = textOf(ini, param, pk::kVide);
    document.ipLocalEx = textOf(ini, param, pk::kIpLocalEx);
    const int count = pageCountOf(ini).value_or(0);
    for (int p = 1; p <= count; ++p) {
        document.pages.append(pageOf(ini, p));
    }
    document.file = std::move(ini);
    return document;
}

// A file line holds neither line breaks nor NUL: they become spaces, in the file as on the panel.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c == '\n' || c == '\r' || c == QChar(0)) {
            c = ' ';
        }
    }
    return text;
}

// What a value reads back as once written: blanks around it and one pair of quotes would go, so
// a text that has them is quoted.
QString written(const QString& text) {
    const QString value = oneLine(text);
    if (value.isEmpty()) {
        return value;
    }
    const auto blank = [](QChar c) { return c == ' ' || c == '\t'; };
    const QChar first = value.front();
    const bool quoted =
        (first == '"' || first == '\'') && value.size() > 1 && value.back() == first;
    if (blank(first) || blank(value.back()) || quoted) {
        return '"' + value + '"';
    }
    return value;
}

// Writes the keys whose value the file does not read as `value` already. In a section the file
// lacks, every key is written, so that a new page reads without a missing key.
class KeyWriter {
public:
    KeyWriter(const IniFile& before, IniFile& after) : before(before), after(after) {}

    void text(const QString& section, const QString& key, const QString& value) {
        const IniFile::Section found = before.section(section);
        if (found.header < 0 || textOf(before, found, key) != readBack(value)) {
            after.setValue(section, key, written(value));
        }
    }
    template <typename Read>
    void number(const QString& section, const QString& key, qint16 value, Read read) {
        const IniFile::Section found = before.section(section);
        if (found.header < 0 || read(numberOf(before, found, key)) != value) {
            after.setValue(section, key, QString::number(value));
        }
    }
    static QString readBack(const QString& value) { return oneLine(value).left(kIniValueLength); }

private:
    const IniFile& before;
    IniFile& after;
};

// Every `next` names page number `map(n)` once the pages moved; 0 stays 0, and a number that
// names no page is left as it is.
template <typename Map> void renumber(ProfileDocument& document, int pagesBefore, Map map) {
    for (EditedPage& page : document.pages) {
        if (page.next >= 1 && page.next <= pagesBefore) {
            page.next = static_cast<qint16>(map(page.next));
        }
    }
}

} // namespace

ProfileDocument openProfileDocument(const QString& path) {
    ProfileDocument document = documentOf(IniFile::load(path));
    document.path = path;
    return document;
}

ProfileDocument newProfileDocument(const QString& demoPath) {
    if (!demoPath.isEmpty()) {
        // A demo that cannot be read leaves the empty profile below.
        if (IniFile demo = IniFile::load(demoPath); demo.exists()) {
            return documentOf(std::move(demo));
        }
    }
    ProfileDocument document;
    document.plein = QStringLiteral("#");
    document.vide = QStringLiteral("-");
    EditedPage page;
    page.time = 5;
    page.next = 1;
    document.pages.append(page);
    return document;
}

bool addPage(ProfileDocument& document, int at) {
    const int count = static_cast<int>(document.pages.size());
    if (count >= kLastPage || at < 0 || at > count) {
        return false;
    }
    renumber(document, count, [at](int n) { return n > at ? n + 1 : n; });
    document.pages.insert(at, EditedPage{});
    return true;
}

bool duplicatePage(ProfileDocument& document, int at) {
    const int count = static_cast<int>(document.pages.size());
    if (count >= kLastPage || at < 0 || at >= count) {
        return false;
    }
    renumber(document, count, [at](int n) { return n > at + 1 ? n + 1 : n; });
    const EditedPage copy = document.pages[at]; // its `next` renumbered already
    document.pages.insert(at + 1, copy);
    return true;
}

bool deletePage(ProfileDocument& document, int at) {
    const int count = static_cast<int>(document.pages.size());
    if (at < 0 || at >= count) {
        return false;
    }
    document.pages.removeAt(at);
    // The page after the deleted one takes its number; after the last page, none does.
    renumber(document, count, [at, count](int n) {
        if (n == at + 1) {
            return n < count ? n : 0;
        }
        return n > at + 1 ? n - 1 : n;
    });
    return true;
}

bool movePage(ProfileDocument& document, int from, int to) {
    const int count = static_cast<int>(document.pages.size());
    if (from < 0 || from >= count || to < 0 || to >= count) {
        return false;
    }
    renumber(document, count, [from, to](int n) {
        const int index = n - 1;
        if (index == from) {
            return to + 1;
        }
        if (from < to && index > from && index <= to) {
            return n - 1;
        }
        if (to < from && index >= to && index < from) {
            return n + 1;
        }
        return n;
    });
    document.pages.move(from, to);
    return true;
}

bool saveProfileDocument(ProfileDocument& document, const QString& path) {
    const QString target = path.isEmpty() ? document.path : path;
    if (target.isEmpty()) {
        return false;
    }
    const IniFile& before = document.file;
    IniFile after = before;
    KeyWriter keys(before, after);
    const int count = static_cast<int>(document.pages.size());
    const std::optional<int> countBefore = pageCountOf(before);
    if (countBefore != count || !before.value(pk::kParam, pk::kPageCount)) {
        after.setValue(pk::kParam, pk::kPageCount, QString::number(count));
    }
    keys.text(pk::kParam, pk::kPlein, document.plein);
    keys.text(pk::kParam, pk::kVide, document.vide);
    keys.text(pk::kParam, pk::kIpLocalEx, document.ipLocalEx);
    for (int p = 1; p <= count; ++p) {
        const EditedPage& page = document.pages[p - 1];
        const QString section = pk::pageSection(p);
        for (int l = 0; l < kLinesPerPage; ++l) {
            keys.text(section, pk::kLine[l], page.lines[l].text);
            keys.number(section, pk::kScroll[l], page.lines[l].scroll, pk::scrollMode);
        }
        keys.number(section, pk::kTime, page.time, pk::pageTime);
        keys.number(section, pk::kNext, page.next, pk::pageNext);
    }
    // The pages the profile no longer has; sections past the old count were never read and stay.
    for (int p = count + 1; p <= countBefore.value_or(0); ++p) {
        after.removeSection(pk::pageSection(p));
    }
    const QByteArray bytes = after.toBytes();
    if (!after.save(target)) {
        return false;
    }
    document.file = IniFile::parse(bytes);
    document.path = target;
    return true;
}

std::array<LineRecord, kLinesPerPage> pageRecords(const EditedPage& page) {
    std::array<LineRecord, kLinesPerPage> records;
    for (int l = 0; l < kLinesPerPage; ++l) {
        records[l] = freshLine(ansi::fromUnicode(KeyWriter::readBack(page.lines[l].text)),
                               page.lines[l].scroll);
    }
    return records;
}

ProfileParams profileParams(const ProfileDocument& document) {
    return {ansi::fromUnicode(KeyWriter::readBack(document.vide)),
            ansi::fromUnicode(KeyWriter::readBack(document.plein)),
            ansi::fromUnicode(KeyWriter::readBack(document.ipLocalEx))};
}
