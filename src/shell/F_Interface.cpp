#include "shell/F_Interface.h"

#include "about/frmAbout.h"
#include "drivers/OnScreenPanel.h"
#include "engine/StartUp.h"
#include "shell/AppIcon.h"
#include "shell/LcdWidget.h"
#include "ui_F_Interface.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

namespace {

QString defaultChooseProfile(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Ouvrir un profil"), folder,
                                        QStringLiteral("Fichiers Relayeur (*.tlcd)"));
}

// Lets the window paint while start-up pauses; user input waits until start-up is over.
void defaultPauseAndRepaint(QWidget* window) {
    window->repaint();
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// The engine's part of the window's environment; its start-up pauses repaint the window.
EngineEnvironment engineEnvironment(const ShellEnvironment& env, std::function<void()> pause) {
    EngineEnvironment engine = env;
    engine.pause = std::move(pause);
    return engine;
}

} // namespace

F_Interface::F_Interface(ShellEnvironment environment, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::F_Interface>()), env(std::move(environment)),
      core(engineEnvironment(env, [this] { env.pauseAndRepaint(this); })), listLog(nullptr, {}),
      sysTray(appIcon(), nullptr) {
    ui->setupUi(this);
    listLog = ListLog(ui->List1, env.printLog ? ListLog::Echo(printToStandardOutput) : nullptr);
    setWindowIcon(appIcon());
    sysTray.icon().setContextMenu(ui->mnuSystemTray);
    if (!env.chooseProfile) {
        env.chooseProfile = defaultChooseProfile;
    }
    if (!env.pauseAndRepaint) {
        env.pauseAndRepaint = defaultPauseAndRepaint;
    }
    if (!env.endProgram) {
        env.endProgram = [] { QCoreApplication::exit(0); };
    }
    if (!env.trayAvailable) {
        env.trayAvailable = &SysTray::available;
    }

    connect(&core, &Engine::logAdded, this, [this](const QString& line) { listLog.add(line); });
    connect(&core, &Engine::logShown, this, [this] { listLog.selectLast(); });
    connect(&core, &Engine::startAvailable, ui->Command1, &QWidget::setEnabled);
    connect(&core, &Engine::startButtonChanged, this,
            [this](bool stops) { ui->Command1->setText(stops ? kStopCaption : kSendCaption); });
    connect(ui->m_fic_ouvrir, &QAction::triggered, this, &F_Interface::m_fic_ouvrir_Click);
    connect(ui->m_fic_quitter, &QAction::triggered, this, &F_Interface::m_fic_quitter_Click);
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

F_Interface::~F_Interface() = default;

void F_Interface::Form_Load(bool startHidden) {
    CreateIcon();
    // Without a notification area a hidden start minimises into the taskbar, once the window has
    // its final size: a window manager restores a minimised window whose native window changed
    // size before it was first shown, and the on-screen panel grows the window after the settings.
    const bool minimiseLate = startHidden && !env.trayAvailable();
    if (!startHidden) {
        show();
    }
    if (!minimiseLate) {
        showHandleAndHook();
    }
    for (const QString& note : env.startupNotes) {
        core.logLine(note);
    }
    core.ReadParm();
    core.prepare();
    showOnScreenPanel();
    RecentProfile();
    repaint();
    const qint16 refresh = core.state().config.refresh;
    const QSignalBlocker quietSlider(ui->Slider1);
    ui->Slider1->setValue(refresh);
    showRefresh(refresh);
    if (minimiseLate) {
        layout()->activate(); // the final size, before the native window is made
        showHandleAndHook();
        showMinimized();
    }
}

// The window handle, which makes the native window, shown in Label2 and naming the socket.
void F_Interface::showHandleAndHook() {
    ui->Label2->setText(QString::number(winId(), 16).toUpper());
    HookWindow();
}

void F_Interface::HookWindow() {
    core.HookWindow(ui->Label2->text());
}

// The on-screen panel is drawn below the controls.
void F_Interface::showOnScreenPanel() {
    OnScreenPanel* panel = core.onScreenPanel();
    if (panel == nullptr) {
        return;
    }
    auto* screen = new LcdWidget(*panel, ui->centralwidget);
    ui->mainLayout->addWidget(screen, 0, Qt::AlignHCenter);
    screen->show();
    panel->setChangeListener([screen] { screen->modelChanged(); });
}

void F_Interface::RecentProfile() {
    recentEntries = core.RecentProfile();
    ui->lstProfile->clear();
    for (const RecentEntry& entry : recentEntries) {
        ui->lstProfile->addItem(entry.name);
        ui->lstProfile->setItemData(ui->lstProfile->count() - 1, entry.path, Qt::ToolTipRole);
    }
}

bool F_Interface::LoadProfile(const QString& profile) {
    return core.LoadProfile(profile);
}

void F_Interface::CreateIcon() {
    if (env.trayAvailable()) {
        sysTray.CreateIcon();
    }
}

void F_Interface::DeleteIcon() {
    sysTray.DeleteIcon();
}

void F_Interface::EndProc() {
    if (core.hasEnded()) {
        return;
    }
    core.EndProc();
    DeleteIcon();
    env.endProgram();
}

void F_Interface::m_fic_quitter_Click() {
    EndProc();
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
        core.logLine(QStringLiteral("Aucun profil choisi dans la liste : rien n'est chargé"));
        listLog.selectLast();
        return;
    }
    LoadProfile(recentEntries[k].path);
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
    ui->lblRefresh->setText(QStringLiteral("Rafraîchissement : %1 ms").arg(ms));
}

void F_Interface::List1_DblClick() {
    const QListWidgetItem* item = ui->List1->currentItem();
    if (item == nullptr) {
        return;
    }
    env.boxes->show(QStringLiteral("Information"),
                    QStringLiteral("Détail de la ligne : \n\r") + item->text(),
                    MessageIcon::Information);
}

void F_Interface::mnuSystemTrayItem_Click(int index) {
    if (index == 0) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    } else if (index == 1) {
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
