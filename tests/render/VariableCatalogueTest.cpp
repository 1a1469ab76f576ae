#include "render/VariableCatalogue.h"

#include "profile/LoadPage.h"
#include "render/ExpandVariables.h"
#include "render/GameGroups.h"
#include "render/WinampGroup.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// The variables are the words the expansion replaces: every %% word its sources name that changes
// a line once expanded, with every source present, must be in the menu, and every word of the menu
// must change a line.
TEST(VariableCatalogue, OffersExactlyTheVariablesTheExpansionReplaces) {
    PageModel pages;
    DisplayConfig config;
    config.L = 1;
    const PresenceFlags flags{true, true, true, true};
    HalfLifeLibrary halfLife;
    WinampState winamp;
    VariableSources sources;
    sources.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8)); };
    sources.memoryStatus = [] { return MemoryStatus{1 << 30, 1 << 20, 1 << 30, 1 << 20}; };
    sources.mbmValue = [](qint16, SensorKind) { return 41.0; };
    sources.ipAddresses = [](const QByteArray&) { return QByteArray("192.0.2.7"); };
    sources.halfLifeGroup = [&](QByteArray& text) { HalfLifeGroup(text, halfLife, {}); };
    sources.setiGroup = [](QByteArray& text) { SetiGroup(text, "/nonexistent/"); };
    sources.winampGroup = [&](QByteArray& text) { WinampGroup(text, winamp, {}, {}); };
    sources.namedValue = [](QByteArrayView) { return std::optional<QByteArray>("7"); };
    sources.mqttValue = [](QByteArrayView, QByteArrayView) {
        return std::optional<QByteArray>("21");
    };
    const auto replaced = [&](const QString& name) {
        const QByteArray line = "<" + name.toLatin1() + ">";
        putOnPage(pages, 0, line, 0);
        ExpandVariables({pages, config, flags, sources});
        return pages.CurrentLines[0].Text != line;
    };

    QStringList offered;
    for (const CatalogueVariable& v : variableCatalogue()) {
        EXPECT_TRUE(replaced(v.name)) << v.name.toStdString();
        offered << v.name;
    }
    EXPECT_EQ(offered.removeDuplicates(), 0);

    QStringList named;
    for (const char* file : {"ExpandVariables.cpp", "GameGroups.cpp", "WinampGroup.cpp"}) {
        QFile source(QStringLiteral(RELAYEUR_SOURCE_DIR "/src/render/") + file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file;
        const QString text = QString::fromUtf8(source.readAll());
        for (const auto& match : QRegularExpression("%%\\w+").globalMatch(text)) {
            named << match.captured();
        }
    }
    ASSERT_GT(named.size(), 60);
    for (const QString& name : named) {
        EXPECT_TRUE(!replaced(name) || offered.contains(name)) << name.toStdString();
    }
}
