#include "shell/F_Interface.h"

#include "about/frmAbout.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/ParallelPanel.h"
#include "drivers/Serie.h"
#include "linemessage/LineMessage.h"
#include "platform/AnsiText.h"
#include "platform/MprisWinampLink.h"
#include "platform/USEINI.h"
#include "profile/LoadPage.h"
#include "profile/LoadProfile.h"
#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/GameGroups.h"
#include "render/RefreshLCD.h"
#include "render/WinampGroup.h"
#include "shell/AppIcon.h"
#include "shell/LcdWidget.h"
#include "shell/ReadParm.h"
#include "shell/TerminalView.h"
#include "sources/NetworkAddress.h"
#include "ui_F_Interface.h"

#include <QCloseEvent>
#include <QDir>
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

} // namespace

F_Interface::F_Interface(ShellEnvironment environment, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::F_Interface>()), env(std::move(environment)),
      listLog(nullptr, {}), sysTray(appIcon(), nullptr),
      lineMessageServer([this](quint32 dwData, const QByteArray& data) {
          return RelayWindowProc(dwData, data);
      }) {
    ui->setupUi(this);
    listLog = ListLog(ui->List1, env.printLog ? ListLog::Echo(printToStandardOutput) : nullptr);
    setWindowIcon(appIcon());
    sysTray.icon().setContextMenu(ui->mnuSystemTray);
    timer1.setObjectName(QStringLiteral("Timer1"));
    timer2.setObjectName(QStringLiteral("Timer2"));
    timer1.setInterval(500);
    timer2.setEnabled(true);
    app.mbm.blockName = env.mbmBlockName;
    sources = env.sources ? *env.sources : systemSources();
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
    if (env.halfLifeCandidates.isEmpty()) {
        env.halfLifeCandidates = halfLifeLibraryCandidates(env.executableDir);
    }

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
    connect(&timer1, &IntervalTimer::timeout, this, &F_Interface::Timer1_Timer);
    connect(&timer2, &IntervalTimer::timeout, this, [this] { LoadPage(app.pages.NextPage); });
}

F_Interface::~F_Interface() = default;

VariableSources F_Interface::systemSources() {
    VariableSources s;
    s.memoryStatus = &readMemoryStatus;
    s.mbmValue = [this](qint16 index, SensorKind kind) {
        return MbmValue(app.mbm, *env.boxes, kAppTitle, index, kind);
    };
    s.ipAddresses = [this](const QByteArray& separator) {
        return IpAddresses(separator, app.params.Ip_Local_Ex, &systemAdapterAddresses);
    };
    s.now = &QDateTime::currentDateTime;
    s.locale = QLocale::system();
    s.halfLifeGroup = [this](QByteArray& text) {
        HalfLifeGroup(text, app.halfLife, sources.locale);
    };
    s.setiGroup = [this](QByteArray& text) { SetiGroup(text, app.config.rep_seti); };
    s.winampGroup = [this](QByteArray& text) {
        WinampGroup(text, app.winamp, app.config.rep_winamp, sources.locale);
    };
    return s;
}

QString F_Interface::settingsFile() const {
    return QDir(env.settingsDir).filePath(QStringLiteral("param.ini"));
}

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
        listLog.add(note);
    }
    if (ReadParm()) {
        checkDisplaySettings();
    }
    winampLink = std::make_unique<MprisWinampLink>(ansi::toUnicode(app.config.rep_winamp),
                                                   readAudioStreamInfo);
    app.winamp.link = winampLink.get();
    panel = makePanel();
    if (panel) {
        lcdOutput.panels[app.config.TypeLCD] = panel.get();
    }
    app.flags.HLAvailable =
        LoadInfoDllFrom(app.halfLife, env.halfLifeCandidates, app.config.rep_HL) == 0;
    RecentProfile();
    repaint();
    timer1.setInterval(app.config.refresh);
    timer1.setEnabled(false);
    const QSignalBlocker quietSlider(ui->Slider1);
    ui->Slider1->setValue(app.config.refresh);
    showRefresh(app.config.refresh);
    if (minimiseLate) {
        layout()->activate(); // the final size, before the native window is made
        showHandleAndHook();
        showMinimized();
    }
}

bool F_Interface::ReadParm() {
    return ::ReadParm({settingsFile(), app.config, app.flags, listLog, *env.boxes,
                       [this] { env.pauseAndRepaint(this); },
                       [this] { MbmTest(app.mbm, app.flags, *env.boxes, kAppTitle); }});
}

// The window handle, which makes the native window, shown in Label2 and naming the socket.
void F_Interface::showHandleAndHook() {
    ui->Label2->setText(QString::number(winId(), 16).toUpper());
    HookWindow();
}

// Other programs reach the window through a socket named after the handle shown in Label2, or
// through the default one.
void F_Interface::HookWindow() {
    const RuntimePath dir = env.lineMessageDir.isEmpty() ? linemessage::defaultDir()
                                                         : RuntimePath{env.lineMessageDir, {}};
    const QStringList problems =
        dir.path.isEmpty()
            ? QStringList{dir.problem}
            : lineMessageServer.listen(dir.path, {ui->Label2->text(), linemessage::kDefaultName});
    for (const QString& problem : problems) {
        listLog.add(QStringLiteral("Messages des autres programmes indisponibles : ") + problem);
    }
}

quint32 F_Interface::RelayWindowProc(quint32 dwData, const QByteArray& data) {
    const std::optional<linemessage::LineMessage> message = linemessage::parse(dwData, data);
    if (!message) {
        return linemessage::kIgnored;
    }
    putOnPage(app.pages, message->line, message->text, message->mode);
    // The page timer runs at once; its enabled state stays as it was.
    timer2.setInterval(10);
    return linemessage::kTaken;
}

// Settings the refresh cannot use as they stand are brought into range, with a word in the log.
void F_Interface::checkDisplaySettings() {
    const qint16 lines = std::clamp<qint16>(app.config.L, 1, kLinesPerPage);
    if (lines != app.config.L) {
        listLog.add(QStringLiteral("Lignes = %1 : l'afficheur a de 1 à 4 lignes, %2 sont utilisées")
                        .arg(app.config.L)
                        .arg(lines));
        app.config.L = lines;
    }
    if (app.config.TypeLCD < 1 || app.config.TypeLCD > 3) {
        listLog.add(QStringLiteral("TypeLCD = %1 ne désigne aucun afficheur (1 à l'écran, 2 série, "
                                   "3 parallèle) : rien ne sera affiché")
                        .arg(app.config.TypeLCD));
    }
    listLog.selectLast();
}

std::unique_ptr<Panel> F_Interface::makePanel() {
    if (env.makePanel) {
        return env.makePanel(app.config);
    }
    switch (app.config.TypeLCD) {
    case 1: {
        auto onScreen = std::make_unique<OnScreenPanel>(app.config.C, app.config.L);
        if (env.terminal) {
            terminalView = std::make_unique<TerminalView>(
                *onScreen, stdout, kAppTitle + QStringLiteral(" — aucun profil chargé"));
            if (env.printLog) {
                listLog.setEcho(
                    [view = terminalView.get()](const QString& line) { view->printLog(line); });
            }
        } else {
            auto* screen = new LcdWidget(*onScreen, ui->centralwidget);
            ui->mainLayout->addWidget(screen, 0, Qt::AlignHCenter);
            screen->show();
            onScreen->setChangeListener([screen] { screen->modelChanged(); });
        }
        return onScreen;
    }
    case 2:
        return std::make_unique<SerialPanel>(serialDeviceFor(settingsFile(), app.config.COM),
                                             listLog);
    case 3:
        return std::make_unique<ParallelPanel>(
            GetIni(QStringLiteral("ports"), QStringLiteral("LPT1"), QStringLiteral("/dev/parport0"),
                   settingsFile()),
            listLog);
    default:
        return nullptr;
    }
}

void F_Interface::Timer1_Timer() {
    RefreshLCD({app.pages, app.config, lcdOutput,
                [this] {
                    ExpandVariables({app.pages, app.config, app.flags, sources});
                },
                [this](const QByteArray& text) {
                    return Bargraph(text, app.config.C, app.params.plein, app.params.vide,
                                    sources.locale);
                }});
}

void F_Interface::RecentProfile() {
    recentEntries = ::RecentProfile(app.recent, settingsFile());
    ui->lstProfile->clear();
    for (const RecentEntry& entry : recentEntries) {
        ui->lstProfile->addItem(entry.name);
        ui->lstProfile->setItemData(ui->lstProfile->count() - 1, entry.path, Qt::ToolTipRole);
    }
}

bool F_Interface::LoadProfile(const QString& profile) {
    const bool loaded = ::LoadProfile(profile, {app.pages, app.params, listLog, [this, profile] {
                                                    lastProfile = profile;
                                                    LoadPage(1);
                                                }});
    if (loaded) {
        ui->Command1->setEnabled(true);
    }
    return loaded;
}

void F_Interface::LoadPage(qint16 page) {
    timer2.setEnabled(false);
    timer2.setInterval(::LoadPage(app.pages, page));
    timer2.setEnabled(true);
    if (terminalView) {
        terminalView->setTitle(
            QStringLiteral("%1 — page %2").arg(QFileInfo(lastProfile).fileName()).arg(page));
    }
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
    if (ended) {
        return;
    }
    ended = true;
    lineMessageServer.close();
    timer1.setEnabled(false);
    timer2.setEnabled(false);
    InitLCD(lcdOutput, app.config);
    DeleteIcon();
    env.endProgram();
}

void F_Interface::m_fic_quitter_Click() {
    EndProc();
}

void F_Interface::m_fic_ouvrir_Click() {
    // Where the last profile came from, else where the settings and the examples are.
    QString folder =
        lastProfile.isEmpty() && !recentEntries.isEmpty() ? recentEntries[0].path : lastProfile;
    folder = folder.isEmpty() ? env.settingsDir : QFileInfo(folder).absolutePath();
    const QString file = env.chooseProfile(this, folder);
    if (file.isEmpty() || !LoadProfile(file)) {
        return;
    }
    if (!PushRecentProfile(settingsFile(), file)) {
        listLog.add(QStringLiteral("Impossible d'écrire ") + settingsFile() +
                    QStringLiteral(" : la liste des profils récents n'est pas mise à jour"));
        listLog.selectLast();
    }
    RecentProfile();
}

void F_Interface::Command2_Click() {
    const int k = ui->lstProfile->currentIndex();
    if (k < 0 || k >= recentEntries.size()) {
        listLog.add(QStringLiteral("Aucun profil choisi dans la liste : rien n'est chargé"));
        listLog.selectLast();
        return;
    }
    LoadProfile(recentEntries[k].path);
}

void F_Interface::Command1_Click() {
    // Disabled until a profile has loaded, for every caller: the button, --start, the tests.
    if (!ui->Command1->isEnabled()) {
        return;
    }
    InitLCD(lcdOutput, app.config);
    panelInitialised = true;
    if (ui->Command1->text() == kSendCaption) {
        timer1.setEnabled(true);
        ui->Command1->setText(kStopCaption);
    } else {
        timer1.setEnabled(false);
        WriteLCD(lcdOutput, app.config, kStopBanner);
        ui->Command1->setText(kSendCaption);
    }
}

void F_Interface::Slider1_Change(int value) {
    // The slider can start the feed before the start button ever ran; the panel is set up first.
    if (!panelInitialised) {
        InitLCD(lcdOutput, app.config);
        panelInitialised = true;
    }
    timer1.setEnabled(false);
    timer1.setInterval(value);
    timer1.setEnabled(true);
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
