// The profile editor, driven as a user drives it: keys and clicks on its fields and buttons.
#include "shell/ProfileEditor.h"

#include "drivers/OnScreenPanel.h"
#include "support/QtPrinters.h"
#include "support/ScriptedQuestions.h"
#include "support/Shell.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QByteArray kOnScreen = QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=1");

// The same readings and the same moment for every engine of a test.
VariableSources fixedSources() {
    VariableSources sources;
    sources.memoryStatus = [] {
        constexpr qint64 kMiB = 1024 * 1024;
        return MemoryStatus{512 * kMiB, 60 * kMiB, 1024 * kMiB, 300 * kMiB};
    };
    sources.mbmValue = [](qint16, SensorKind) { return 42.0; };
    sources.ipAddresses = [](const QByteArray&) { return QByteArray("192.168.1.2"); };
    sources.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(12, 34, 56)); };
    return sources;
}

// The main window with its editor open, questions answered by script and « Enregistrer sous… »
// answering `saveAs`.
struct Editing {
    Shell s;
    ScriptedQuestions questions;
    QString saveAs;
    ProfileEditor* editor = nullptr;

    explicit Editing(const QByteArray& settings = kShellSettings) : s(settings) {
        s.env.sources = fixedSources();
        s.env.questions = &questions;
        s.env.chooseSaveProfile = [this](QWidget*, const QString&) { return saveAs; };
        s.startWindow();
    }
    ProfileEditor& open(const QString& profile = {}) {
        if (profile.isEmpty()) {
            s.window->findChild<QAction*>("m_fic_editer")->trigger();
        } else {
            s.window->editProfile(profile);
        }
        editor = s.window->profileEditor();
        // Its shortcuts answer once it is the window with the focus.
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return *editor;
    }
    template <typename T = QLineEdit> T* field(const QString& name) const {
        T* found = editor->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void type(const QString& name, const QString& text) {
        QLineEdit* edit = field(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    void chooseMode(int line, int downs) { // from « Fixe », one item per key
        auto* combo = field<QComboBox>(QStringLiteral("scroll%1").arg(line));
        combo->setFocus();
        for (int i = 0; i < downs; ++i) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
    }
    // A button's shortcut clicks it a moment later, as the button shows itself pressed.
    void press(const QString& button, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QSignalSpy clicked(field<QPushButton>(button), &QPushButton::clicked);
        // A closed popup may have given the activation back to the main window meanwhile.
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
        QTest::keyClick(editor, key, modifiers);
        EXPECT_TRUE(clicked.wait()) << button.toStdString();
    }
    void click(const QString& button) {
        QTest::mouseClick(field<QPushButton>(button), Qt::LeftButton);
    }
    void choosePage(int row) {
        auto* table = field<QTableWidget>("pageTable");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(row, 0)).center());
    }
    bool marked(const QString& name) const {
        return field<QWidget>(name)->property("mistake").toBool();
    }
};

QByteArrayList lines(const OnScreenPanel& panel) {
    QByteArrayList shown;
    for (int line = 0; line < panel.lines(); ++line) {
        shown.append(panel.line(line));
    }
    return shown;
}

} // namespace

TEST(ProfileEditor, APageMadeInTheEditorShowsOnTheProgramsPanelAsInItsPreview) {
    Editing e;
    ProfileEditor& editor = e.open();
    EXPECT_EQ(editor.windowTitle(), "Éditeur de profil — nouveau.tlcd[*]");
    e.type("lineText0", "Relayeur montre un texte qui defile");
    e.chooseMode(0, 2); // « Défilement à gauche »
    e.chooseMode(1, 4); // « Bargraphe »: the text becomes four fields
    e.type("barMin1", "0");
    e.type("barMax1", "100");
    e.field("barValue1")->setFocus();
    e.click("insertVariableButton");
    QMenu* menu = editor.findChild<QMenu*>("variableMenu");
    QAction* temperature = nullptr;
    for (QAction* group : menu->actions()) {
        for (QAction* entry : group->menu()->actions()) {
            if (entry->data() == "%%temp1") {
                temperature = entry;
            }
        }
    }
    ASSERT_NE(temperature, nullptr);
    EXPECT_TRUE(temperature->text().startsWith("%%temp1 — température 1 (°C) : "))
        << temperature->text().toStdString();
    temperature->trigger();
    menu->hide(); // as a click on the entry closes it
    e.type("barLabel1", "Temp");
    EXPECT_EQ(e.field("lineText1")->text(), "0 100 %%temp1 Temp");
    EXPECT_TRUE(editor.isWindowModified());

    e.press("addPageButton", Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier); // after page 1
    EXPECT_EQ(editor.currentPage(), 1);
    e.type("lineText0", "%%big_time");
    e.field<QSpinBox>("timeSpin")->setValue(7);
    QComboBox* next = e.field<QComboBox>("nextCombo");
    next->setCurrentIndex(next->findText("1"));
    e.choosePage(0);
    next->setCurrentIndex(next->findText("2"));
    auto* table = e.field<QTableWidget>("pageTable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(
        std::tuple(table->item(0, 3)->text(), table->item(1, 2)->text(), table->item(1, 3)->text()),
        std::tuple("→ 2", "7 s", "→ 1"));
    EXPECT_TRUE(editor.mistakes().isEmpty());

    const QString saved = e.s.dir.file("deux.tlcd");
    e.saveAs = e.s.dir.file("deux"); // the extension comes by itself
    e.press("saveButton", Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(editor.isWindowModified());
    EXPECT_EQ(editor.windowTitle(), "Éditeur de profil — deux.tlcd[*]");
    EXPECT_EQ(e.s.window->engine().lastProfile(), saved) << "loaded as File > Open loads it";
    EXPECT_EQ(e.s.window->findChild<QComboBox*>("lstProfile")->itemText(0), "deux.tlcd");

    // A program that never saw the editor shows what the preview shows, tick after tick.
    Shell fresh(kOnScreen);
    fresh.env.sources = fixedSources();
    Engine& engine = fresh.startEngine();
    ASSERT_TRUE(engine.LoadProfile(saved));
    ASSERT_TRUE(engine.Command1());
    e.choosePage(1); // and back: the preview starts page 1 afresh, as the program does
    e.choosePage(0);
    for (int tick = 1; tick <= 40; ++tick) {
        Q_EMIT engine.Timer1().timeout();
        editor.refreshPreview();
        ASSERT_EQ(lines(editor.preview()), lines(*engine.onScreenPanel())) << "tick " << tick;
    }
    EXPECT_NE(lines(editor.preview())[1], QByteArray(20, ' ')) << "the bar's line is drawn";
    e.choosePage(1);
    engine.LoadPage(2);
    for (int tick = 1; tick <= 3; ++tick) {
        Q_EMIT engine.Timer1().timeout();
        editor.refreshPreview();
        ASSERT_EQ(lines(editor.preview()), lines(*engine.onScreenPanel())) << "clock " << tick;
    }
    EXPECT_TRUE(lines(editor.preview())[3].endsWith("56")) << "the big clock's seconds";
}

TEST(ProfileEditor, ALineChangedByTypingIsTheOnlyChangeInTheSavedFile) {
    Editing e;
    const QByteArray before =
        "; Mon profil, fait à la main\r\n[param]\r\nnb_pages=1\r\nplein=#\r\nvide=-\r\n"
        "Ip_Local_Ex=\r\ncouleur=bleue ; gardée\r\n\r\n[page_1]\r\nligne0=%%time\r\n"
        "ligne1=Bonjour\r\nligne2=\r\nligne3=\r\nscroll0=0\r\nscroll1=0\r\nscroll2=0\r\n"
        "scroll3=0\r\ntime=0\r\nnext=0\r\n[à moi]\r\ncle=valeur\r\n";
    const QString path = e.s.dir.write("main.tlcd", before);
    ProfileEditor& editor = e.open(path);
    EXPECT_EQ(e.field("lineText1")->text(), "Bonjour");
    e.type("lineText1", "Au revoir");
    EXPECT_EQ(editor.windowTitle(), "Éditeur de profil — main.tlcd[*]");
    EXPECT_TRUE(editor.isWindowModified());
    e.press("saveButton", Qt::Key_E, Qt::AltModifier); // its underlined letter, beside Ctrl+S
    EXPECT_TRUE(e.questions.asked.isEmpty());
    QByteArray expected = before;
    expected.replace("ligne1=Bonjour", "ligne1=Au revoir");
    EXPECT_EQ(e.s.dir.read("main.tlcd"), expected);
}

TEST(ProfileEditor, EveryMistakeIsMarkedListedAndAskedAboutBeforeSaving) {
    Editing e;
    const QByteArray profile = "[param]\nnb_pages=2\nplein=#\nvide=-\nIp_Local_Ex=\n"
                               "[page_1]\nligne0=a 100 5\nligne1=100 0 5\nligne2=\n"
                               "ligne3=\xe6\xbc\xa2\nscroll0=4\nscroll1=4\nscroll2=0\n"
                               "scroll3=0\ntime=5\nnext=9\n"
                               "[page_2]\nligne0=%%big_time\nligne1=%%mem_l\nligne2=\nligne3=\n"
                               "scroll0=0\nscroll1=0\nscroll2=0\nscroll3=0\ntime=5\nnext=1\n";
    const QString path = e.s.dir.write("faux.tlcd", profile);
    ProfileEditor& editor = e.open(path);
    e.type("lineText2", QString(130, 'x')); // more than the program reads
    using Kind = ProfileMistake::Kind;
    QSet<Kind> kinds;
    for (const ProfileMistake& mistake : editor.mistakes()) {
        kinds.insert(mistake.kind);
    }
    EXPECT_EQ(kinds,
              (QSet<Kind>{Kind::BargraphNotNumbers, Kind::BargraphRange, Kind::NextMissing,
                          Kind::LineTooLong, Kind::NotInCharacterSet, Kind::BigClockNotAlone}))
        << "a time beyond 32 s can neither be typed nor read";
    auto* list = e.field<QListWidget>("mistakeList");
    ASSERT_EQ(list->count(), editor.mistakes().size());
    const auto indexOf = [&editor](Kind kind) {
        const auto& all = editor.mistakes();
        return static_cast<int>(
            std::find_if(all.begin(), all.end(),
                         [kind](const ProfileMistake& m) { return m.kind == kind; }) -
            all.begin());
    };
    const ProfileMistake range = editor.mistakes()[indexOf(Kind::BargraphRange)];
    EXPECT_EQ(list->item(indexOf(Kind::BargraphRange))->text(), range.text);
    EXPECT_TRUE(range.text.startsWith("Page 1, ligne 2 : "));
    // The fields of the page shown carry their mistakes, the sentence as their tooltip.
    for (const QString name :
         {"barMin0", "barMin1", "barMax1", "lineText2", "lineText3", "nextCombo"}) {
        EXPECT_TRUE(e.marked(name)) << name.toStdString();
    }
    EXPECT_FALSE(e.marked("barLabel0") || e.marked("lineText1") || e.marked("timeSpin"));
    EXPECT_EQ(e.field("barMin1")->toolTip(), range.text);
    EXPECT_EQ(e.field<QComboBox>("nextCombo")->currentText(), "9 (absente)");

    // A mistake chosen in the list shows its page; the fields there are marked.
    const ProfileMistake clock = editor.mistakes()[indexOf(Kind::BigClockNotAlone)];
    list->setCurrentRow(indexOf(Kind::BigClockNotAlone));
    EXPECT_EQ(editor.currentPage(), 1);
    EXPECT_TRUE(e.marked(QStringLiteral("lineText%1").arg(clock.line)));
    EXPECT_FALSE(e.marked("nextCombo"));

    // Fixed as one types, a mistake leaves the list and its mark goes.
    e.choosePage(0);
    const int before = list->count();
    e.type("barMin0", "0");
    EXPECT_EQ(std::tuple(list->count(), e.marked("barMin0")), std::tuple(before - 1, false));
    EXPECT_EQ(e.field("lineText0")->text(), "0 100 5");

    const QByteArray unsaved = e.s.dir.read("faux.tlcd");
    e.questions.script = {"Annuler"};
    e.press("saveButton", Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(e.questions.asked.size(), 1);
    EXPECT_EQ(e.questions.asked[0].text,
              QStringLiteral("Le profil a %1 erreurs. Enregistrer quand même ?").arg(before - 1));
    EXPECT_EQ(e.s.dir.read("faux.tlcd"), unsaved);
    EXPECT_TRUE(editor.isWindowModified());
    e.questions.script = {"&Enregistrer"};
    e.click("saveButton");
    EXPECT_TRUE(e.s.dir.read("faux.tlcd").contains("ligne0=0 100 5\n"));
    EXPECT_FALSE(editor.isWindowModified());
}

TEST(ProfileEditor, EscapeWithUnsavedChangesAsksAndOnlyCancelKeepsTheWindow) {
    Editing e;
    QPointer<ProfileEditor> editor = &e.open();
    editor->show();
    QTest::keyClick(editor, Qt::Key_Escape); // nothing to save: it closes at once
    EXPECT_TRUE(e.questions.asked.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); }));

    editor = &e.open();
    editor->show();
    e.type("lineText0", "Pas encore enregistre");
    e.click("tryButton"); // the page goes on the program's panel until the window closes
    EXPECT_TRUE(e.s.window->engine().trying());
    e.questions.script = {"Annuler"};
    QTest::keyClick(e.field("lineText0"), Qt::Key_Escape);
    ASSERT_EQ(e.questions.asked.size(), 1);
    EXPECT_EQ(e.questions.asked[0].text, "Enregistrer les modifications de « nouveau.tlcd » ?");
    EXPECT_EQ(e.questions.asked[0].answers,
              (QStringList{"&Enregistrer", "&Ne pas enregistrer", "Annuler"}));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(e.field("lineText0")->text(), "Pas encore enregistre");

    e.questions.script = {"&Ne pas enregistrer"};
    e.click("closeButton");
    EXPECT_EQ(e.questions.asked.size(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); }));
    EXPECT_EQ(e.s.window->profileEditor(), nullptr);
    EXPECT_FALSE(e.s.window->engine().trying());
    EXPECT_EQ(QDir(e.s.dir.path()).entryList({"*.tlcd"}), QStringList());
}

TEST(ProfileEditor, AFileThatDoesNotExistYetIsANewProfileSavedUnderItsName) {
    Editing e;
    const QString path = e.s.dir.file("plus-tard.tlcd");
    ProfileEditor& editor = e.open(path);
    EXPECT_EQ(editor.windowTitle(), "Éditeur de profil — plus-tard.tlcd[*]");
    e.type("lineText0", "Premier");
    e.click("saveButton");
    EXPECT_TRUE(QFile::exists(path)) << "no name asked: the one given";
    EXPECT_EQ(e.s.window->engine().lastProfile(), path);
}

// Each page button acts on the page chosen in the table, from a click or its shortcut; the lines
// a smaller panel does not show say why they are there.
TEST(ProfileEditor, ThePageButtonsDuplicateMoveAndDeleteTheChosenPage) {
    Editing e(QByteArray(kShellSettings).replace("L=4", "L=2"));
    ProfileEditor& editor = e.open();
    EXPECT_EQ(e.field("barLabel3")->toolTip(),
              "L'afficheur ne montre que 2 lignes : celle-ci sert aux afficheurs plus grands");
    auto* table = e.field<QTableWidget>("pageTable");
    const auto column = [table](int column) {
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row) {
            cells << table->item(row, column)->text();
        }
        return cells;
    };
    e.click("tryButton"); // the panel follows every change below
    e.type("lineText0", "Un");
    e.field<QSpinBox>("timeSpin")->setValue(0);
    e.field<QComboBox>("nextCombo")->setCurrentIndex(0);
    e.press("duplicatePageButton", Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    e.type("lineText0", "Deux");
    e.press("moveUpButton", Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(column(1), column(2), column(3)),
              std::tuple(QStringList{"Deux", "Un"}, QStringList{"reste", "reste"},
                         QStringList{"→ fin", "→ fin"}));
    EXPECT_EQ(editor.currentPage(), 0);
    EXPECT_FALSE(e.field<QPushButton>("moveUpButton")->isEnabled());
    e.click("moveDownButton");
    EXPECT_EQ(std::tuple(column(1), editor.currentPage()),
              std::tuple(QStringList{"Un", "Deux"}, 1));
    EXPECT_FALSE(e.field<QPushButton>("moveDownButton")->isEnabled());
    EXPECT_TRUE(e.s.window->engine().trying());

    e.press("deletePageButton", Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(column(1), editor.currentPage(), e.field("lineText0")->text()),
              std::tuple(QStringList{"Un"}, 0, "Un"));
    e.click("deletePageButton");
    EXPECT_EQ(std::tuple(table->rowCount(), editor.currentPage()), std::tuple(0, -1));
    EXPECT_FALSE(e.field<QWidget>("pageGroup")->isEnabled() ||
                 e.field<QPushButton>("deletePageButton")->isEnabled() ||
                 e.field<QPushButton>("duplicatePageButton")->isEnabled());
    e.click("addPageButton");
    EXPECT_EQ(std::tuple(table->rowCount(), editor.currentPage()), std::tuple(1, 0));
    EXPECT_TRUE(e.field<QWidget>("pageGroup")->isEnabled());

    // A variable goes where one last typed, unless that field has gone: then into the first line.
    e.chooseMode(0, 4); // « Bargraphe »
    e.type("barValue0", "5");
    e.field<QComboBox>("scroll0")->setFocus();
    QTest::keyClick(e.field<QComboBox>("scroll0"), Qt::Key_Home); // « Fixe » again
    e.field("pleinEdit")->setFocus();                             // never where variables go
    e.click("insertVariableButton");
    QAction* variable =
        editor.findChild<QMenu*>("variableMenu")->actions()[0]->menu()->actions()[0];
    variable->trigger();
    editor.findChild<QMenu*>("variableMenu")->hide();
    EXPECT_TRUE(e.field("lineText0")->text().startsWith(variable->data().toString()));
    EXPECT_EQ(e.field("pleinEdit")->text(), "#");
}

// New and Open set the profile aside only once the user agrees; a save that fails says so, and
// the profile the program shows is loaded again when saved.
TEST(ProfileEditor, NewAndOpenAskFirstAndASaveThatFailsSaysSo) {
    Editing e;
    const QString mine =
        e.s.dir.write("autre/mien.tlcd", QByteArray(kProfile).replace("scroll0=2", "scroll0=9"));
    e.s.chosenProfile = mine;
    e.s.window->findChild<QAction*>("m_fic_ouvrir")->trigger();
    ProfileEditor& editor = e.open(); // the profile loaded
    e.s.window->findChild<QAction*>("m_fic_editer")->trigger();
    EXPECT_EQ(e.s.window->findChildren<ProfileEditor*>().size(), 1) << "the same window again";
    EXPECT_EQ(e.field<QComboBox>("scroll0")->currentIndex(), -1) << "a mode without a name";
    auto* table = e.field<QTableWidget>("pageTable");

    e.type("lineText1", "Change");
    e.questions.script = {"Annuler"};
    e.press("newButton", Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(e.questions.asked.size(), 1);
    const qsizetype boxes = e.s.boxes.boxes.size();
    e.saveAs = e.s.dir.file("absent/mien.tlcd");
    e.press("saveAsButton", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    e.saveAs.clear(); // the dialog cancelled
    e.click("saveAsButton");
    ASSERT_EQ(e.s.boxes.boxes.size(), boxes + 1);
    EXPECT_EQ(e.s.boxes.boxes.last().text,
              "Le profil n'a pas pu être écrit dans " + e.s.dir.file("absent/mien.tlcd") + ".");
    EXPECT_TRUE(editor.isWindowModified());
    e.click("saveButton");
    EXPECT_EQ(e.s.window->engine().state().pages.PageTable[1][1].Text, "Change");
    EXPECT_EQ(e.s.window->findChild<QComboBox*>("lstProfile")->count(), 1);

    e.type("lineText1", "Perdu");
    e.questions.script = {"&Ne pas enregistrer", "Annuler"};
    e.click("newButton");
    EXPECT_EQ(e.questions.asked.last().text, "Commencer le nouveau profil par une copie de la "
                                             "démonstration ou par une page vide ?");
    EXPECT_EQ(e.field("lineText1")->text(), "Perdu");
    e.questions.script = {"&Ne pas enregistrer", "Page &vide"};
    e.click("newButton");
    EXPECT_EQ(std::tuple(table->rowCount(), e.field("lineText1")->text()), std::tuple(1, ""));
    e.questions.script = {"Copie de la &démonstration"}; // nothing to save: asked at once
    e.click("newButton");
    EXPECT_EQ(e.questions.asked.size(), 6);
    EXPECT_GT(table->rowCount(), 1);
    EXPECT_FALSE(editor.isWindowModified());

    e.press("openButton", Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(e.s.openedIn, editor.windowTitle()),
              std::tuple("", "Éditeur de profil — mien.tlcd[*]"));
    e.s.chosenProfile.clear();
    e.click("openButton");
    EXPECT_EQ(e.s.openedIn, e.s.dir.file("autre")) << "the folder of the profile edited";

    QPointer<ProfileEditor> closing = &editor;
    e.type("lineText1", QString(130, 'x'));
    e.questions.script = {"&Enregistrer", "&Enregistrer"};
    e.click("closeButton");
    EXPECT_EQ(e.questions.asked.last().text, "Le profil a une erreur. Enregistrer quand même ?");
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }));
    EXPECT_TRUE(e.s.dir.read("autre/mien.tlcd").contains("ligne1=" + QByteArray(130, 'x')));
}
