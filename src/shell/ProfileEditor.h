#pragma once

#include "engine/PagePreview.h"
#include "platform/MessageBoxes.h"
#include "platform/QuestionBoxes.h"
#include "profile/ProfileDocument.h"
#include "profile/ProfileMistakes.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class Engine;
class LcdWidget;
class OnScreenPanel;
class QComboBox;
class QLineEdit;
class QMenu;
class QStackedWidget;

namespace Ui {
class ProfileEditor;
}

// What the editor needs from around it; tests replace any of it.
struct EditorEnvironment {
    MessageBoxes* boxes = nullptr;      // not owned
    QuestionBoxes* questions = nullptr; // not owned
    // « Ouvrir… », starting in the given folder; empty text: cancelled.
    std::function<QString(QWidget*, const QString&)> chooseOpen;
    // « Enregistrer sous… », the given file proposed; empty text: cancelled.
    std::function<QString(QWidget*, const QString&)> chooseSave;
    QString demoProfile; // what « Nouveau » may start from; empty: an empty page only
    // The page shown on the program's panel while « Essayer sur l'afficheur » is down, and the
    // end of it; empty: the button is not offered.
    std::function<void(const std::array<LineRecord, kLinesPerPage>&, const ProfileParams&)> tryPage;
    std::function<void()> endTrial;
};

// The window in which a profile is made: its pages, each page's lines and timing, the profile's
// parameters, the mistakes found as one types, and the page drawn as the panel would show it.
class ProfileEditor : public QWidget {
    Q_OBJECT
public:
    ProfileEditor(Engine& engine, EditorEnvironment environment, QWidget* parent = nullptr);
    ~ProfileEditor() override;

    // The profile at `path`; one that does not exist is a new profile that is saved there.
    void openFile(const QString& path);
    // A new profile without a file: a copy of the demo, or one empty page.
    void newProfile(bool fromDemo);
    // To the profile's file, or to the file asked for when it has none; false when not saved.
    bool save();
    bool saveAs();

    const ProfileDocument& document() const { return doc; }
    bool modified() const { return isWindowModified(); }
    int currentPage() const { return shownPage; } // from 0, -1 without pages
    const QList<ProfileMistake>& mistakes() const { return found; }
    const OnScreenPanel& preview() const { return *previewPanel; }
    // One refresh of the preview, as the timer gives at the program's refresh period.
    void refreshPreview();

Q_SIGNALS:
    void saved(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectFields();
    void setDocument(ProfileDocument document, bool isModified);
    void showProfileParams();
    void showPages(int select);
    void showPageRow(int page);
    void fillNextCombo();
    void selectPage(int page, bool again = false); // again: shown anew though it was shown
    void showPage();
    void showLine(int line);
    void lineTextEdited(int line, const QString& text);
    void barFieldEdited(int line);
    void scrollChosen(int line, int mode);
    void edited();
    void pagesChanged(bool changed, int select);
    void findMistakes();
    void markMistakes();
    void mistakeChosen(int row);
    QList<QWidget*> fieldsOf(const ProfileMistake& mistake) const;
    void previewPage();
    void trial(bool on);
    void showVariableMenu();
    void insertVariable(const QString& name);
    void askNew();
    void askOpen();
    bool saveTo(const QString& path);
    bool maySetAside(); // false when the user keeps the unsaved changes on screen
    QString fileName() const;
    void showTitle();
    EditedPage* page();

    std::unique_ptr<Ui::ProfileEditor> ui;
    Engine& engine;
    EditorEnvironment env;
    ProfileDocument doc;
    int shownPage = -1;
    bool showing = false; // fields filled from the document: not an edit
    QList<ProfileMistake> found;
    std::array<QLineEdit*, kLinesPerPage> lineTexts{};
    std::array<QComboBox*, kLinesPerPage> scrollModes{};
    std::array<QStackedWidget*, kLinesPerPage> lineStacks{}; // the text, or the bargraph fields
    std::array<std::array<QLineEdit*, 4>, kLinesPerPage> barFields{}; // min, max, value, label
    QPointer<QLineEdit> lastField; // where « Insérer une variable » inserts
    QMenu* variableMenu = nullptr;
    std::unique_ptr<OnScreenPanel> previewPanel;
    LcdWidget* previewWidget = nullptr;
    PagePreview pagePreview;
    QTimer previewTimer;
};
