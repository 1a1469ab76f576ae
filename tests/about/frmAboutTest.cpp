// The About box: its texts, its links under the mouse and clicked, its system-information button.
#include "about/frmAbout.h"

#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TempDir.h"

#include <QFileSystemWatcher>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An About box with its links and boxes recorded, that looks for the system-information programs
// in `bin` alone.
struct About {
    TempDir bin;
    SystemInfoRegistry registry{{bin.path()}};
    RecordingMessageBoxes boxes;
    QList<QUrl> opened;
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
        form = std::make_unique<frmAbout>(env);
    }

    QLabel* label(const char* name) const { return form->findChild<QLabel*>(name); }
    // The links that are not at rest, blue and not underlined.
    QStringList linksLit() const {
        QStringList lit;
        for (QLabel* link : form->linkLabels()) {
            if (link->palette().color(QPalette::WindowText) != Qt::blue ||
                link->font().underline()) {
                lit.append(link->objectName());
            }
        }
        return lit;
    }
    void click(const char* button) { form->findChild<QPushButton*>(button)->click(); }
};

} // namespace

TEST(frmAbout, ShowsTheVersionLightsTheLinkUnderTheMouseAndOpensAClickedOne) {
    About a(QStringLiteral("1.10"));
    a.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(a.form.get()));
    EXPECT_EQ(a.form->windowTitle(), "À propos de Relayeur");
    EXPECT_EQ(a.label("lblVersion")->text(), "Version 1.10.0");
    EXPECT_EQ(a.linksLit(), QStringList());
    for (const auto& [link, shown] : {std::pair{"Label3", "mailto : equipe@relayeur.github.io"},
                                      {"Label17", "https://relayeur.github.io/forum/"}}) {
        QTest::mouseMove(a.label(link));
        EXPECT_EQ(a.linksLit(), QStringList({link}));
        EXPECT_EQ(a.label("Label16")->text(), shown);
    }
    QTest::mouseMove(a.form.get(), QPoint(2, 2)); // off the links onto the form itself
    EXPECT_EQ(a.linksLit(), QStringList());
    EXPECT_EQ(a.label("Label16")->text(), "");

    for (QLabel* link : a.form->linkLabels()) {
        QTest::mouseClick(link, Qt::LeftButton);
    }
    QTest::mouseClick(a.label("Label3"), Qt::RightButton);
    QTest::mousePress(a.label("Label19"), Qt::LeftButton);
    QTest::mouseRelease(a.label("Label19"), Qt::LeftButton, {}, {-1, -1}); // let go off the link
    ASSERT_EQ(a.opened.size(), 13);
    EXPECT_EQ(a.opened[0], QUrl("mailto:equipe@relayeur.github.io?Subject=A propos de Relayeur"));
    EXPECT_EQ(a.opened[11], QUrl("https://relayeur.github.io/forum/"));
    EXPECT_EQ(a.opened[12], QUrl("https://relayeur.github.io/"));
    EXPECT_TRUE(a.boxes.boxes.isEmpty()) << "a link that does not open says nothing";

    a.click("cmdOK");
    EXPECT_FALSE(a.form->isVisible());
}

// The first program of the list that can run is started; when none can, a box says so.
TEST(frmAbout, SystemInformationStartsTheFirstProgramFoundElseSaysItIsUnavailable) {
    About a;
    a.click("cmdSysInfo");
    QFile::setPermissions(a.bin.write("gnome-system-monitor", "#!/nonexistent/sh\n"),
                          QFile::ReadOwner | QFile::ExeOwner);
    a.click("cmdSysInfo");
    ASSERT_EQ(a.boxes.boxes.size(), 2) << "none found, then one that does not start";
    EXPECT_EQ(std::tuple(a.boxes.boxes[1].title, a.boxes.boxes[1].text),
              std::tuple("Relayeur", "Les informations système ne sont pas disponibles "
                                     "actuellement"));

    a.bin.write("hardinfo", "not executable");
    QFile::setPermissions(a.bin.write("kinfocenter", "#!/bin/sh\ntouch \"$0.started\"\n"),
                          QFile::ReadOwner | QFile::ExeOwner);
    QFileSystemWatcher watcher({a.bin.path()});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    a.click("cmdSysInfo");
    EXPECT_TRUE(QFile::exists(a.bin.file("kinfocenter.started")) || changed.wait(10000));
    EXPECT_TRUE(QFile::exists(a.bin.file("kinfocenter.started")));
    EXPECT_EQ(a.boxes.boxes.size(), 2);

    const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    EXPECT_FALSE(a.registry.value(HKEY_LOCAL_MACHINE, key, "MSINFO")) << "no other value";
    EXPECT_FALSE(a.registry.value(0x80000001, key, "PATH"));
}
