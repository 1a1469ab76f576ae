#include "shell/F_Interface.h"

#include "about/frmAbout.h"
#include "detect/PanelChoice.h"
#include "drivers/OnScreenPanel.h"
#include "engine/FirstRun.h"
#include "engine/StartUp.h"
#include "shell/AppIcon.h"
#include "shell/DetectDialog.h"
#include "shell/LcdWidget.h"
#include "shell/ProfileEditor.h"
#include "ui_F_Interface.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

namespace {

QString defaultChooseProfile(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, F_Interface::tr("Ouvrir un profil"), folder,
                                        F_Interface::tr("Fichiers Relayeur (*.tlcd)"));
}

QString defaultChooseSaveProfile(QWidget* parent, const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, F_Interface::tr("Enregistrer le profil"), proposed,
                                        F_Interface::tr("Fichiers Relayeur (*.tlcd)"));
}

// The demo profile a new profile may start from: installed, else in the sources.
QString demoProfile(const QString& executableDir) {
    for (const QString& dir : defaultDataDirs(executableDir)) {
        const QString demo = QDir(dir).filePath(QStringLiteral("demo.tlcd"));
        if (QFileInfo::exists(demo)) {
            return demo;
        }
    }
    return {};
}

} // namespace

F_Interface::F_Interface(ShellEnvironment environment, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::F_Interface>()), env(std::move(environment)),
      core(env), listLog(nullptr, {}), sysTray(appIcon(), nullptr) {
    ui->setupUi(this);
    widgetQuestions.setParent(this);
    listLog = ListLog(ui->List1, env.printLog ? ListLog::Echo(printToStandardOutput) : nullptr);
    setWindowIcon(appIcon());
    sysTray.icon().setContextMenu(ui->mnuSystemTray);
    if (!env.chooseProfile) {
        env.chooseProfile = defaultChooseProfile;
    }
    if (!env.chooseSaveProfile) {
        env.chooseSaveProfile = defaultChooseSaveProfile;
    }
    if (env.questions == nullptr) {
        env.questions = &widgetQuestions;
    }
    if (!env.endProgram) {
        // Queued, so that an end reached before the event loop has begun still ends it.
        env.endProgram = [] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
        };
    }
    if (!env.trayAvailable) {
        env.trayAvailable = &SysTray::available;
    }

    connect(&core, &Engine::startedUp, this, [this] { qApp->removeEventFilter(this); });
    connect(&core, &Engine::endedRun, this, [this] {
        DeleteIcon();
        env.endProgram();
    });
    connect(&core, &Engine::logAdded, this, [this](const QString& line) { listLog.add(line); });
    connect(&core, &Engine::logShown, this, [this] { listLog.selectLast(); });
    connect(&core, &Engine::startAvailable, ui->Command1, &QWidget::setEnabled);
    connect(&core, &Engine::startButtonChanged, this,
            [this](bool stops) { ui->Command1->setText(stops ? stopCaption() : sendCaption()); });
    connect(ui->m_fic_ouvrir, &QAction::triggered, this, &F_Interface::m_fic_ouvrir_Click);
    connect(ui->m_fic_quitter, &QAction::triggered, this, &F_Interface::m_fic_quitter_Click);
    connect(ui->m_fic_detecter, &QAction::triggered, this, &F_Interface::m_fic_detecter_Click);
    connect(ui->m_fic_editer, &QAction::triggered, this, &F_Interface::m_fic_editer_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &F_Interface::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &F_Interface::Command2_Click);
    connect(ui->List1, &QListWidget::itemDoubleClicked, this, &F_Interface::List1_DblClick);
    connect(ui->mnuSystemTrayItem_0, &QAction::triggered, this,
            [this] { mnuSystemTrayItem_Click(0); });
    connect(ui->mnuSystemTrayItem_1, &QAction::triggered, this,
            [this] { mnuSystemTrayItem_Click(1); });
    connect(ui->m_about, &QAction::triggered, this, &F_Interface::m_about_Click);
    // The slider acts when it comes to rest, not at every step of a drag.
    connect(ui->Slider1, &QSlider::valueChanged, this, [this](int value) {
        showRefresh(value);
        if (!ui->Slider1->isSliderDown()) {
            Slider1_Change(value);
        }
    });
    connect(ui->Slider1, &QSlider::sliderReleased, this,
            [this] { Slider1_Change(ui->Slider1->value()); });
}

// The editor works on the engine: it goes first.
F_Interface::~F_Interface() {
    delete editor;
    // Deleted here rather than with the window's children: its end is then heard by a window
    // that is still whole.
    delete detect;
}

void F_Interface::Form_Load(const StartUp& plan, bool startHidden) {
    qApp->installEventFilter(this);
    // Without a notification area a hidden start minimises into the taskbar, once the window has
    // its final size: a window manager restores a minimised window whose native window changed
    // size before it was first shown, and the on-screen panel grows the window after the settings.
    const bool minimiseLate = startHidden && !env.trayAvailable();
    StartUpHooks hooks;
    hooks.showWindow = [this, startHidden] {
        CreateIcon();
        if (!startHidden) {
            show();
        }
    };
    hooks.windowHandle = [this, minimiseLate] { return minimiseLate ? QString() : showHandle(); };
    hooks.panelMade = [this] { showOnScreenPanel(); };
    hooks.recentListed = [this](const QList<RecentEntry>& entries) { showRecent(entries); };
    // The window drawn whole at each pause of its log. Left to the piecemeal updates of a growing
    // window, X11 sends parts of it through a copy that then keeps a megabyte for the whole run.
    hooks.paused = [this] { repaint(); };
    hooks.ready = [this, minimiseLate] {
        repaint();
        const qint16 refresh = core.state().config.refresh;
        const QSignalBlocker quietSlider(ui->Slider1);
        ui->Slider1->setValue(refresh);
        showRefresh(refresh);
        if (minimiseLate) {
            layout()->activate(); // the final size, before the native window is made
            HookWindow();
            showMinimized();
        }
    };
    core.startUp(plan, std::move(hooks));
}

// The window handle, which makes the native window, shown in Label2; it names the socket.
QString F_Interface::showHandle() {
    ui->Label2->setText(QString::number(winId(), 16).toUpper());
    return ui->Label2->text();
}

void F_Interface::HookWindow() {
    core.HookWindow(showHandle());
}

// The on-screen panel is drawn below the controls.
void F_Interface::showOnScreenPanel() {
    OnScreenPanel* panel = core.onScreenPanel();
    if (panel == nullptr) {
        return;
    }
    auto* screen = new LcdWidget(*panel, ui->centralwidget);
    // A click gives the panel the keyboard, whose keys are then the panel's.
    screen->setFocusPolicy(Qt::ClickFocus);
    connect(screen, &LcdWidget::keyPressed, &core, &Engine::panelKey);
    ui->mainLayout->addWidget(screen, 0, Qt::AlignHCenter);
    screen->show();
    panel->setChangeListener([screen] { screen->modelChanged(); });
}

void F_Interface::RecentProfile() {
    showRecent(core.RecentProfile());
}

void F_Interface::showRecent(const QList<RecentEntry>& entries) {
    recentEntries = entries;
    ui->lstProfile->clear();
    for (const RecentEntry& entry : recentEntries) {
        ui->lstProfile->addItem(entry.name);
        ui->lstProfile->setItemData(ui->lstProfile->count() - 1, entry.path, Qt::ToolTipRole);
    }
}

bool F_Interface::LoadProfile(const QString& profile) {
    return static_cast<bool>(core.LoadProfile(profile));
}

void F_Interface::CreateIcon() {
    if (env.trayAvailable()) {
        sysTray.CreateIcon();
    }
}

void F_Interface::DeleteIcon() {
    sysTray.DeleteIcon();
}

// The engine tells when the end has run, which may be once start-up is over.
void F_Interface::EndProc() {
    core.EndProc();
}

void F_Interface::m_fic_quitter_Click() {
    EndProc();
}

void F_Interface::m_fic_detecter_Click() {
    if (detect != nullptr) {
        detect->raise();
        detect->activateWindow();
        return;
    }
    SearchPlaces places;
    places.dirs = env.deviceDirs;
    places.lcddServer = core.state().config.lcddServer;
    // The panel being fed is left alone: neither asked nor written to.
    if (core.feeding()) {
        places.inUse = configuredPanel(core.settingsFile());
    }
    detect = new DetectDialog(places, core.settingsFile(), this);
    detect->setAttribute(Qt::WA_DeleteOnClose);
    connect(detect, &QObject::destroyed, this, [this] { detect = nullptr; });
    connect(detect, &DetectDialog::settingsWritten, this, [this](const QString& text) {
        for (const QString& line : text.split(u'\n')) {
            core.logLine(line);
        }
        listLog.selectLast();
    });
    detect->show();
    detect->search();
}

void F_Interface::m_fic_editer_Click() {
    editProfile(core.lastProfile());
}

void F_Interface::editProfile(const QString& profile) {
    if (editor != nullptr) {
        editor->raise();
        editor->activateWindow();
        return;
    }
    EditorEnvironment editorEnv;
    editorEnv.boxes = env.boxes;
    editorEnv.questions = env.questions;
    editorEnv.chooseOpen = env.chooseProfile;
    editorEnv.chooseSave = env.chooseSaveProfile;
    editorEnv.demoProfile = demoProfile(env.executableDir);
    editorEnv.tryPage = [this](const std::array<LineRecord, kLinesPerPage>& lines,
                               const ProfileParams& params) { core.tryPage(lines, params); };
    editorEnv.endTrial = [this] { core.endTrial(); };
    editor = new ProfileEditor(core, editorEnv, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &QObject::destroyed, this, [this] { editor = nullptr; });
    connect(editor, &ProfileEditor::saved, this, &F_Interface::profileSaved);
    if (profile.isEmpty()) {
        editor->newProfile(false);
    } else {
        editor->openFile(profile);
    }
    editor->show();
}

// The panel shows what was saved: the profile shown is loaded again, another one is loaded as
// File > Open loads it.
void F_Interface::profileSaved(const QString& profile) {
    const QString shown = core.lastProfile();
    const bool same = !shown.isEmpty() && QFileInfo(shown) == QFileInfo(profile);
    if (!LoadProfile(profile) || same) {
        return;
    }
    core.PushRecentProfile(profile);
    RecentProfile();
}

void F_Interface::m_fic_ouvrir_Click() {
    // Where the last profile came from, else where the settings and the examples are.
    QString folder = core.lastProfile().isEmpty() && !recentEntries.isEmpty()
                         ? recentEntries[0].path
                         : core.lastProfile();
    folder = folder.isEmpty() ? env.settingsDir : QFileInfo(folder).absolutePath();
    const QString file = env.chooseProfile(this, folder);
    if (file.isEmpty() || !LoadProfile(file)) {
        return;
    }
    core.PushRecentProfile(file);
    RecentProfile();
}

void F_Interface::Command2_Click() {
    const int k = ui->lstProfile->currentIndex();
    if (k < 0 || k >= recentEntries.size()) {
        core.logLine(tr("Aucun profil choisi dans la liste : rien n'est chargé"));
        listLog.selectLast();
        return;
    }
    const QString path = recentEntries[k].path;
    // A user who picks up where they left expects the profile shown last, whichever way it was
    // opened; without reprendre the list keeps its order.
    if (LoadProfile(path) && core.state().config.reprendre) {
        core.RaiseRecentProfile(path);
        RecentProfile();
    }
}

void F_Interface::Command1_Click() {
    // Disabled until a profile has loaded, for every caller: the button, --start, the tests.
    if (ui->Command1->isEnabled()) {
        core.Command1();
    }
}

void F_Interface::Slider1_Change(int value) {
    core.setRefresh(value);
}

void F_Interface::showRefresh(int ms) {
    ui->lblRefresh->setText(tr("Rafraîchissement : %1 ms").arg(ms));
}

void F_Interface::List1_DblClick() {
    const QListWidgetItem* item = ui->List1->currentItem();
    if (item == nullptr) {
        return;
    }
    env.boxes->show(tr("Information"), tr("Détail de la ligne : \n\r%1").arg(item->text()),
                    MessageIcon::Information);
}

void F_Interface::mnuSystemTrayItem_Click(int index) {
    if (index == 0) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    } else {
        EndProc();
    }
}

void F_Interface::m_about_Click() {
    if (about == nullptr) {
        AboutEnvironment aboutEnv;
        aboutEnv.title = kAppTitle;
        aboutEnv.boxes = env.boxes;
        about = new frmAbout(aboutEnv, this);
    }
    about->show();
    about->raise();
    about->activateWindow();
}

// Installed on the application while start-up runs: the user's input is dropped, as it would
// otherwise be handled in the middle of it.
bool F_Interface::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void F_Interface::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) {
        return;
    }
    CreateIcon();
    // Without a notification area there would be no way back: the window stays in the taskbar.
    if (sysTray.isShown()) {
        QTimer::singleShot(0, this, &QWidget::hide);
    }
}

void F_Interface::closeEvent(QCloseEvent* event) {
    EndProc();
    event->accept();
}
