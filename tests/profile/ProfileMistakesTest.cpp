#include "profile/ProfileMistakes.h"

#include <functional>
#include <gtest/gtest.h>

// Each mistake on the second page of a profile of two, found with its page and line and said in
// a sentence that starts with where it is; the demo profile has none.
TEST(ProfileMistakes, EachKindIsFoundWhereItIsAndTheDemoHasNone) {
    using K = ProfileMistake::Kind;
    struct Row {
        std::function<void(EditedPage&)> edit;
        QList<std::pair<K, int>> expected; // kind and line
        QString said;                      // what the first sentence holds
    };
    const auto line = [](int l, const QString& text, qint16 scroll = 0) {
        return [=](EditedPage& p) { p.lines[l] = {text, scroll}; };
    };
    const Row rows[] = {
        {line(2, "0 100 %%mem_x", 4),
         {{K::BargraphNotNumbers, 2}},
         "Page 2, ligne 3 : la valeur du bargraphe n'est pas un nombre (« %%mem_x »)"},
        {line(1, "0  %%winamp_titre", 4), {{K::BargraphNotNumbers, 1}}, "le maximum du"},
        {line(1, "-5 %%temp10 %%charge CPU %%date", 4), {}, {}},
        {line(1, "0 %%val(max) %%mqtt(maison/batterie|niveau) Batterie", 4), {}, {}},
        {line(1, "0 100 %%val(sans_fin", 4), {{K::BargraphNotNumbers, 1}}, "la valeur du"},
        {line(3, "100 100 %%charge", 4), {{K::BargraphRange, 3}}, "(100)"},
        {[](EditedPage& p) { p.next = 3; },
         {{K::NextMissing, -1}},
         "Page 2 : la page suivante (3)"},
        {[](EditedPage& p) { p.time = 33; }, {{K::TimeOutOfRange, -1}}, "(33 s)"},
        {line(1, QString(128, 'x')), {{K::LineTooLong, 1}}, "128 caractères"},
        {line(1, QString(127, 'x') + "%%mem_x", 4),
         {{K::LineTooLong, 1}, {K::BargraphNotNumbers, 1}},
         "127"},
        {line(0, "Łódź ? €"), {{K::NotInCharacterSet, 0}}, "« Łź »"},
        {[](EditedPage& p) {
             p.lines = {EditedLine{"%%big_time"}, {"100%%"}, {"fixe"}, {"%%time"}};
         },
         {{K::BigClockNotAlone, 1}, {K::BigClockNotAlone, 3}},
         "ligne 2 : des variables sur une ligne après la grande horloge (ligne 1)"},
    };
    DisplayConfig config;
    config.L = 4;
    for (const Row& row : rows) {
        ProfileDocument document = newProfileDocument();
        document.pages.append(EditedPage{});
        row.edit(document.pages[1]);
        const QList<ProfileMistake> mistakes = findMistakes(document, config);
        QList<std::pair<K, int>> found;
        for (const ProfileMistake& m : mistakes) {
            EXPECT_EQ(m.page, 2);
            found.append({m.kind, m.line});
        }
        EXPECT_EQ(found, row.expected) << row.said.toStdString();
        EXPECT_TRUE(mistakes.isEmpty() || mistakes[0].text.contains(row.said))
            << mistakes.value(0).text.toStdString();
    }

    EXPECT_TRUE(findMistakes(openProfileDocument(RELAYEUR_SOURCE_DIR "/examples/demo.tlcd"), config)
                    .isEmpty());
}
