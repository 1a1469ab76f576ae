#pragma once

#include "detect/PanelSearch.h"
#include "engine/Engine.h"
#include "profile/RecentProfiles.h"
#include "shell/ListLog.h"
#include "shell/SysTray.h"
#include "shell/WidgetMessageBoxes.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class DetectDialog;
class ProfileEditor;
class frmAbout;

namespace Ui {
class F_Interface;
}

// What the window needs from the world around it, besides what its engine needs; tests replace
// any of it.
struct ShellEnvironment : EngineEnvironment {
    bool printLog = false;
    // File > Open, starting in the given folder; empty text: cancelled.
    std::function<QString(QWidget*, const QString&)> chooseProfile;
    // The profile editor's « Enregistrer sous… », the given file proposed; empty text: cancelled.
    std::function<QString(QWidget*, const QString&)> chooseSaveProfile;
    QuestionBoxes* questions = nullptr;  // not owned; none: asked on screen
    std::function<void()> endProgram;    // ends the process's event loop
    std::function<bool()> trayAvailable; // whether a notification area exists
    DeviceDirs deviceDirs;               // where File > « Détecter l'afficheur… » looks
};

// The main window: it shows what the engine tells it and hands the user's actions to it.
class F_Interface : public QMainWindow {
    Q_OBJECT
public:
    explicit F_Interface(ShellEnvironment environment, QWidget* parent = nullptr);
    ~F_Interface() override;

    // The engine's start-up with the window's part: tray icon, window, handle, the on-screen
    // panel, recent profiles, slider. The user's input waits until it is over.
    void Form_Load(const StartUp& plan, bool startHidden = false);

    void RecentProfile();
    bool LoadProfile(const QString& profile);
    void CreateIcon();
    void DeleteIcon();
    void EndProc();
    void HookWindow();

    void m_fic_ouvrir_Click();
    void m_fic_quitter_Click();
    void m_fic_detecter_Click();
    void m_fic_editer_Click();
    // The profile editor on `profile`, a new profile when empty; the one open is brought forward.
    void editProfile(const QString& profile);
    void Command1_Click();
    void Command2_Click();
    void Slider1_Change(int value);
    void List1_DblClick();
    void mnuSystemTrayItem_Click(int index);
    void m_about_Click();

    Engine& engine() { return core; }
    SysTray& tray() { return sysTray; }
    frmAbout* aboutBox() const { return about; }
    DetectDialog* detectDialog() const { return detect; }
    ProfileEditor* profileEditor() const { return editor; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showRefresh(int ms);
    QString showHandle();
    void showRecent(const QList<RecentEntry>& entries);
    void showOnScreenPanel();
    void profileSaved(const QString& profile);

    std::unique_ptr<Ui::F_Interface> ui;
    ShellEnvironment env;
    Engine core;
    ListLog listLog;
    SysTray sysTray;
    QList<RecentEntry> recentEntries;
    frmAbout* about = nullptr;       // made on first use, a child of the window
    DetectDialog* detect = nullptr;  // while open, a child of the window
    ProfileEditor* editor = nullptr; // while open, a child of the window
    WidgetQuestionBoxes widgetQuestions;
};

// The captions of the start/stop button, while the panel is not fed and while it is, in the
// user's language.
inline QString sendCaption() {
    return F_Interface::tr("Envoyer sur le LCD !");
}
inline QString stopCaption() {
    return F_Interface::tr("Arréter sur le LCD !");
}
