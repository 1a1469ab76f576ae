// The INI reader over any file: the keys the program asks for and the names the file itself
// spells, then one write that must leave every other key reading as it did. The file is read and
// written in memory, through the same parsing and the same bytes as a file on disk. Names and
// values are looked at as views, so that an input costs the reader's own allocations and few more.
#include "FuzzSupport.h"
#include "platform/USEINI.h"

#include <QList>
#include <QStringTokenizer>
#include <utility>

namespace {

using Name = std::pair<QStringView, QStringView>; // section, key
using Value = std::optional<QStringView>;

// Section and key names as the lines of `text` spell them, blanks and case kept. Sixteen in all
// reach what forty did: each name is read, read respelled and read again after the write, and
// further names only repeated those reads, for a quarter of the run's time.
QList<Name> namesIn(QStringView text) {
    QList<Name> names = {{u"parametres", u"C"}, {u"param", u"nb_pages"}, {u"page_1", u"ligne0"}};
    QStringView section;
    for (const QStringView line : text.tokenize(u'\n')) {
        if (names.size() >= 16) {
            break;
        }
        if (const qsizetype open = line.indexOf(u'['); open >= 0) {
            const QStringView rest = line.sliced(open + 1);
            const qsizetype close = rest.indexOf(u']');
            section = close < 0 ? rest : rest.first(close);
        } else if (const qsizetype eq = line.indexOf(u'='); eq >= 0) {
            names.append({section, line.first(eq)});
        }
    }
    return names;
}

bool plain(QStringView name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == '_');
    });
}

// A name as the program compares it: up to a NUL, without the blanks around it (and then without
// regard to case).
QStringView asked(QStringView name) {
    const qsizetype nul = name.indexOf(QChar(0));
    return (nul < 0 ? name : name.first(nul)).trimmed();
}

// A plain name in other letters' case and with blanks around it, as a caller may spell it; built
// in `out`, whose room is kept from one name to the next.
QStringView respelled(QStringView name, bool upper, QString& out) {
    out.resize(0);
    out += upper ? u' ' : u'\t';
    for (const QChar c : name) {
        out += upper ? c.toUpper() : c.toLower();
    }
    out += upper ? u'\t' : u' ';
    return out;
}

Value read(const IniFile& ini, Name name) {
    return GetIni(ini, ini.section(name.first), name.second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const IniFile before = IniFile::parse(bytes);
    FUZZ_CHECK(before.exists());

    const QList<Name> names = namesIn(before.text());
    QList<Value> values;
    values.reserve(names.size());
    QString section;
    QString key;
    for (const Name& name : names) {
        const Value value = read(before, name);
        FUZZ_CHECK(!value || value->size() <= 127);
        if (value) {
            parseInt16(*value);
        }
        values.append(value);
        // Names match whatever their case and the blanks around them.
        if (plain(name.first.trimmed()) && plain(name.second.trimmed())) {
            FUZZ_CHECK(read(before, {respelled(name.first, true, section),
                                     respelled(name.second, false, key)}) == value);
        }
    }

    // The first plain names of the file, or a section it may lack.
    Name target = {u"relayeur", u"k"};
    for (const Name& name : names.mid(3)) {
        if (plain(name.first.trimmed()) && plain(name.second.trimmed())) {
            target = {name.first.trimmed(), name.second.trimmed()};
            break;
        }
    }
    const QString written = QStringLiteral("v%1").arg(size);
    const Value old = read(before, target);
    IniFile changed = before;
    changed.setValue(target.first.toString(), target.second.toString(), written);
    const IniFile after = IniFile::parse(changed.toBytes());
    FUZZ_CHECK(GetIni(after, target.first.toString(), target.second.toString(),
                      QStringLiteral("Err")) == written);
    // The copy that was written shares the text of the one read, which must not change.
    FUZZ_CHECK(read(before, target) == old);
    const Name targetAsked = {asked(target.first), asked(target.second)};
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto& [section, key] = names[i];
        if (!(asked(section).compare(targetAsked.first, Qt::CaseInsensitive) == 0 &&
              asked(key).compare(targetAsked.second, Qt::CaseInsensitive) == 0)) {
            FUZZ_CHECK(read(after, names[i]) == values[i]);
        }
    }
    return 0;
}
