#pragma once

#include "drivers/Lcd.h"
#include "model/DisplayConfig.h"
#include "platform/MessageBoxes.h"
#include "profile/PageModel.h"
#include "profile/RecentProfiles.h"
#include "render/ExpandVariables.h"
#include "shell/IntervalTimer.h"
#include "shell/LineMessageServer.h"
#include "shell/ListLog.h"
#include "shell/SysTray.h"
#include "sources/hlcs.h"
#include "sources/mbm.h"
#include "sources/winamp.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class TerminalView;
class frmAbout;

namespace Ui {
class F_Interface;
}

// Everything the program knows, owned by the main window for the whole run.
struct AppState {
    DisplayConfig config;
    PresenceFlags flags;
    ProfileParams params;
    PageModel pages;
    RecentProfiles recent;
    MbmLink mbm;
    HalfLifeLibrary halfLife;
    WinampState winamp;
};

// What the window needs from the world around it; tests replace any of it.
struct ShellEnvironment {
    QString settingsDir;
    QString executableDir;
    bool printLog = false;
    bool terminal = false;         // the on-screen panel goes to the terminal instead of the window
    MessageBoxes* boxes = nullptr; // not owned
    // File > Open, starting in the given folder; empty text: cancelled.
    std::function<QString(QWidget*, const QString&)> chooseProfile;
    std::function<void(QWidget*)> pauseAndRepaint; // the short pauses of the start-up log
    std::function<void()> endProgram;              // ends the process's event loop
    std::function<bool()> trayAvailable;           // whether a notification area exists
    QString mbmBlockName = kMbmBlockName;
    QStringList halfLifeCandidates; // empty: beside the executable, then the library path
    // Makes the panel that TypeLCD names; empty: the panels of the program.
    std::function<std::unique_ptr<Panel>(const DisplayConfig&)> makePanel;
    // Where the variables take their values; empty: this machine, now, in the user's locale.
    std::optional<VariableSources> sources;
    QString lineMessageDir;   // where the line-message sockets go; empty: the user's runtime dir
    QStringList startupNotes; // logged before the settings, such as what a first run prepared
};

// The string that the start/stop button shows while the panel is not being fed.
inline const QString kSendCaption = QStringLiteral("Envoyer sur le LCD !");
inline const QString kStopCaption = QStringLiteral("Arréter sur le LCD !");
inline const QString kAppTitle = QStringLiteral("Relayeur");
inline const QString kWindowCaption = QStringLiteral("TLCD - Relayeur");
// Left on the panel when the feed stops: the project's address between two spaces.
inline const QByteArray kStopBanner = QByteArrayLiteral(" relayeur.github.io ");

class F_Interface : public QMainWindow {
    Q_OBJECT
public:
    explicit F_Interface(ShellEnvironment environment, QWidget* parent = nullptr);
    ~F_Interface() override;

    // The start-up sequence: tray icon, window, settings, outside programs, recent profiles.
    void Form_Load(bool startHidden = false);

    void RecentProfile();
    bool LoadProfile(const QString& profile);
    void LoadPage(qint16 page);
    void CreateIcon();
    void DeleteIcon();
    void EndProc();
    bool ReadParm();
    void HookWindow();
    quint32 RelayWindowProc(quint32 dwData, const QByteArray& data);

    void m_fic_ouvrir_Click();
    void m_fic_quitter_Click();
    void Command1_Click();
    void Command2_Click();
    void Slider1_Change(int value);
    void List1_DblClick();
    void mnuSystemTrayItem_Click(int index);
    void m_about_Click();
    void Timer1_Timer();

    AppState& state() { return app; }
    LcdOutput& lcd() { return lcdOutput; }
    IntervalTimer& Timer1() { return timer1; }
    IntervalTimer& Timer2() { return timer2; }
    Log& log() { return listLog; }
    SysTray& tray() { return sysTray; }
    const LineMessageServer& lineMessages() const { return lineMessageServer; }
    frmAbout* aboutBox() const { return about; }
    QString settingsFile() const;
    bool hasEnded() const { return ended; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showRefresh(int ms);
    void showHandleAndHook();
    void checkDisplaySettings();
    std::unique_ptr<Panel> makePanel();
    VariableSources systemSources();

    std::unique_ptr<Ui::F_Interface> ui;
    ShellEnvironment env;
    AppState app;
    VariableSources sources;
    std::unique_ptr<WinampLink> winampLink; // the media player, once rep_winamp is known
    LcdOutput lcdOutput;
    std::unique_ptr<Panel> panel; // the one TypeLCD names, made once the settings are read
    std::unique_ptr<TerminalView> terminalView;
    ListLog listLog;
    SysTray sysTray;
    IntervalTimer timer1;
    IntervalTimer timer2;
    QList<RecentEntry> recentEntries;
    QString lastProfile; // the last one loaded in this run: the terminal's title, File > Open
    bool panelInitialised = false;
    bool ended = false;
    frmAbout* about = nullptr; // made on first use, a child of the window
    LineMessageServer lineMessageServer;
};
