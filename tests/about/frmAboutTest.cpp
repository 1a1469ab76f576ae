// The About box: its texts, its links under the mouse and on a click, and the way it looks for
// the system-information program.
#include "about/frmAbout.h"

#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

#include <QFileSystemWatcher>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 0xC0, 0);
const QString kMsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

// Values keyed by "key|value name", all under HKEY_LOCAL_MACHINE.
class FakeRegistry : public Registry {
public:
    std::optional<QString> value(quint32 root, const QString& keyName,
                                 const QString& valueName) const override {
        const auto found = values.find(keyName + '|' + valueName);
        if (root != HKEY_LOCAL_MACHINE || found == values.end()) {
            return std::nullopt;
        }
        return *found;
    }
    QMap<QString, QString> values;
};

// An About box with its links, programs and boxes recorded.
struct About {
    RecordingMessageBoxes boxes;
    FakeRegistry registry;
    QList<QUrl> opened;
    QStringList started;
    bool startSucceeds = true;
    std::unique_ptr<frmAbout> form;

    explicit About(const QString& version = QStringLiteral("0.3.2")) {
        AboutEnvironment env;
        env.version = version;
        env.boxes = &boxes;
        env.registry = &registry;
        env.openUrl = [this](const QUrl& url) {
            opened.append(url);
            return false; // as a desktop without a mail program: nothing more happens
        };
        env.startProgram = [this](const QString& program) {
            started.append(program);
            return startSucceeds;
        };
        form = std::make_unique<frmAbout>(env);
    }

    QLabel* label(const char* name) const { return form->findChild<QLabel*>(name); }
    QStringList hotLinks() const {
        QStringList hot;
        for (QLabel* link : form->linkLabels()) {
            if (link->palette().color(QPalette::WindowText) == kRed && link->font().underline()) {
                hot.append(link->objectName());
            }
        }
        return hot;
    }
    bool allAtRest() const {
        for (QLabel* link : form->linkLabels()) {
            if (link->palette().color(QPalette::WindowText) != kBlue || link->font().underline()) {
                return false;
            }
        }
        return true;
    }
};

QString executable(const TempDir& dir, const QString& name, const QByteArray& script) {
    const QString path = dir.write(name, "#!/bin/sh\n" + script + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

TEST(frmAbout, ShowsTheVersionCentredWithLinksBlueAndEveryOtherLabelGreen) {
    About a;
    a.form->show();
    EXPECT_EQ(a.form->windowTitle(), "À propos de Relayeur");
    EXPECT_EQ(a.label("lblVersion")->text(), "Version 0.3.2");
    const QRect screen = a.form->screen()->geometry();
    EXPECT_NEAR(a.form->x() - screen.x(), screen.right() + 1 - (a.form->x() + a.form->width()), 1);
    EXPECT_NEAR(a.form->y() - screen.y(), screen.bottom() + 1 - (a.form->y() + a.form->height()),
                1);

    EXPECT_EQ(a.form->linkLabels().size(), 13);
    EXPECT_TRUE(a.allAtRest());
    for (QLabel* label : a.form->findChildren<QLabel*>()) {
        if (!a.form->linkLabels().contains(label)) {
            EXPECT_EQ(label->palette().color(QPalette::WindowText), kGreen)
                << label->objectName().toStdString();
        }
    }

    About shortVersion(QStringLiteral("1.10"));
    shortVersion.form->show();
    EXPECT_EQ(shortVersion.label("lblVersion")->text(), "Version 1.10.0");
}

TEST(frmAbout, TheMouseLightsOneLinkAtATimeAndAClickOpensItsAddress) {
    About a;
    a.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(a.form.get()));
    QTest::mouseMove(a.label("Label3"));
    EXPECT_EQ(a.hotLinks(), QStringList({"Label3"}));
    EXPECT_EQ(a.label("Label16")->text(), "mailto : equipe@relayeur.github.io");
    for (const char* next : {"Label5", "Label19", "Label12"}) {
        QTest::mouseMove(a.label(next));
        EXPECT_EQ(a.hotLinks(), QStringList({next}));
    }
    EXPECT_EQ(a.label("Label16")->text(), "mailto : web@relayeur.github.io");
    QTest::mouseMove(a.label("Label17"));
    EXPECT_EQ(a.label("Label16")->text(), "https://relayeur.github.io/forum/");
    // Off the links onto the form itself.
    QTest::mouseMove(a.form.get(), QPoint(2, 2));
    EXPECT_TRUE(a.allAtRest());
    EXPECT_TRUE(a.label("Label16")->text().isEmpty());

    for (QLabel* link : a.form->linkLabels()) {
        QTest::mouseClick(link, Qt::LeftButton);
    }
    QTest::mouseClick(a.label("Label3"), Qt::RightButton);
    QTest::mouseClick(a.label("Label13"), Qt::LeftButton); // a heading opens nothing
    ASSERT_EQ(a.opened.size(), 13);
    EXPECT_EQ(a.opened[0], QUrl("mailto:equipe@relayeur.github.io?Subject=A propos de Relayeur"));
    EXPECT_EQ(a.opened[1], QUrl("mailto:materiel@relayeur.github.io?Subject=A propos de Relayeur"));
    EXPECT_EQ(a.opened[3], a.opened[0]) << "Label7 is the same contributor as Label3";
    EXPECT_EQ(a.opened[9], a.opened[0]) << "and so is Label11";
    EXPECT_EQ(a.opened[11], QUrl("https://relayeur.github.io/forum/"));
    EXPECT_EQ(a.opened[12], QUrl("https://relayeur.github.io/"));
    EXPECT_TRUE(a.boxes.boxes.isEmpty()) << "a link that does not open says nothing";

    // Losing the focus puts the links back at rest; OK closes the box.
    QTest::mouseMove(a.label("Label10"));
    ASSERT_FALSE(a.allAtRest());
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(a.allAtRest());
    a.form->findChild<QPushButton*>("cmdOK")->click();
    EXPECT_FALSE(a.form->isVisible());
}

TEST(frmAbout, SystemInformationStartsTheProgramTheKeyNamesOrGivesItsMessage) {
    const QString unavailable =
        QStringLiteral("Les informations système ne sont pas disponibles actuellement");
    {
        About a; // the key names the program; it is started without looking for it
        a.registry.values[kMsinfoKey + "|PATH"] = "/nowhere/sysinfo";
        a.form->findChild<QPushButton*>("cmdSysInfo")->click();
        EXPECT_EQ(a.started, QStringList({"/nowhere/sysinfo"}));
        EXPECT_TRUE(a.boxes.boxes.isEmpty());
    }
    {
        About a; // no key at all, then a program that does not start
        a.form->StartSysInfo();
        EXPECT_TRUE(a.started.isEmpty());
        ASSERT_EQ(a.boxes.boxes.size(), 1);
        EXPECT_EQ(a.boxes.boxes[0].text, unavailable);
        EXPECT_EQ(a.boxes.boxes[0].title, "Relayeur");
        a.registry.values[kMsinfoKey + "|PATH"] = "/nowhere/sysinfo";
        a.startSucceeds = false;
        a.form->StartSysInfo();
        ASSERT_EQ(a.boxes.boxes.size(), 2);
        EXPECT_EQ(a.boxes.boxes[1].text, unavailable);
    }
}

TEST(frmAbout, ThisSystemStartsTheFirstInformationProgramOnThePath) {
    TempDir bin;
    const SystemInfoRegistry empty({bin.path()});
    EXPECT_FALSE(empty.value(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH"));

    bin.write("hardinfo", "not executable");
    const QString monitor = executable(bin, "gnome-system-monitor", "");
    const SystemInfoRegistry registry({bin.path()});
    EXPECT_EQ(registry.value(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH"), monitor);
    const QString center = executable(bin, "kinfocenter", "touch \"$(dirname \"$0\")/started\"");
    EXPECT_EQ(registry.value(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH"), center) << "the list's order";
    EXPECT_FALSE(registry.value(HKEY_LOCAL_MACHINE, kMsinfoKey, "MSINFO")) << "no other value";
    EXPECT_FALSE(registry.value(0x80000001, kMsinfoKey, "PATH"));

    RecordingMessageBoxes boxes;
    AboutEnvironment env;
    env.boxes = &boxes;
    env.registry = &registry;
    frmAbout form(env);
    QFileSystemWatcher watcher({bin.path()});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    form.findChild<QPushButton*>("cmdSysInfo")->click();
    EXPECT_TRUE(QFile::exists(bin.file("started")) || changed.wait(10000));
    EXPECT_TRUE(QFile::exists(bin.file("started")));
    EXPECT_TRUE(boxes.boxes.isEmpty());
}
