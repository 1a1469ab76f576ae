#include "about/frmAbout.h"

#include "ui_frmAbout.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QVersionNumber>

namespace {

const QColor kLinkColour(0, 0, 255);
const QColor kHotLinkColour(255, 0, 0);
const QColor kTextColour(0, 0xC0, 0);

const QString kTeamAddress = QStringLiteral("equipe@relayeur.github.io");

// Every link label of the form, top to bottom, with the address it leads to.
struct LinkTarget {
    const char* label;
    QString address;
    bool mail;
};
const LinkTarget kLinkTargets[] = {
    {"Label3", kTeamAddress, true},
    {"Label5", QStringLiteral("materiel@relayeur.github.io"), true},
    {"Label6", QStringLiteral("dev@relayeur.github.io"), true},
    {"Label7", kTeamAddress, true},
    {"Label8", QStringLiteral("linux@relayeur.github.io"), true},
    {"Label9", QStringLiteral("pilotes@relayeur.github.io"), true},
    {"Label20", QStringLiteral("sources@relayeur.github.io"), true},
    {"Label21", QStringLiteral("interface@relayeur.github.io"), true},
    {"Label10", QStringLiteral("doc@relayeur.github.io"), true},
    {"Label11", kTeamAddress, true},
    {"Label12", QStringLiteral("web@relayeur.github.io"), true},
    {"Label17", QStringLiteral("https://relayeur.github.io/forum/"), false},
    {"Label19", QStringLiteral("https://relayeur.github.io/"), false},
};

void paint(QLabel* label, const QColor& colour, bool underline) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
}

} // namespace

frmAbout::frmAbout(AboutEnvironment environment, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()), env(std::move(environment)) {
    ui->setupUi(this);
    if (!env.openUrl) {
        env.openUrl = &QDesktopServices::openUrl;
    }
    if (!env.startProgram) {
        env.startProgram = [](const QString& program) {
            return QProcess::startDetached(program, {});
        };
    }
    if (env.registry == nullptr) {
        systemRegistry = std::make_unique<SystemInfoRegistry>();
        env.registry = systemRegistry.get();
    }
    for (const LinkTarget& target : kLinkTargets) {
        auto* label = findChild<QLabel*>(QString::fromLatin1(target.label));
        links.push_back({label, target.address, target.mail});
        label->setMouseTracking(true);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    // The link labels take their colours from ResetLinks; every other label is green.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (linkOf(label) == nullptr) {
            paint(label, kTextColour, false);
        }
    }
    ResetLinks();
    // Moving off a link onto the form itself puts the links back at rest.
    setMouseTracking(true);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
    CentreForm();
    setWindowTitle(tr("À propos de %1").arg(env.title));
    const QVersionNumber version = QVersionNumber::fromString(env.version);
    ui->lblVersion->setText(tr("Version %1.%2.%3")
                                .arg(version.majorVersion())
                                .arg(version.minorVersion())
                                .arg(version.microVersion()));
}

void frmAbout::CentreForm() {
    if (layout() != nullptr) {
        layout()->activate(); // the form takes its final size before it is placed
    }
    const QScreen* shownOn = screen();
    if (shownOn == nullptr) {
        return;
    }
    const QRect area = shownOn->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmAbout::ResetLinks() {
    ui->Label16->clear();
    for (const Link& link : links) {
        paint(link.label, kLinkColour, false);
    }
}

const frmAbout::Link* frmAbout::linkOf(const QObject* label) const {
    for (const Link& link : links) {
        if (link.label == label) {
            return &link;
        }
    }
    return nullptr;
}

QList<QLabel*> frmAbout::linkLabels() const {
    QList<QLabel*> labels;
    for (const Link& link : links) {
        labels.append(link.label);
    }
    return labels;
}

QString frmAbout::hoverText(const QLabel* label) const {
    const Link* link = linkOf(label);
    if (link == nullptr) {
        return QString();
    }
    return link->mail ? tr("mailto : %1").arg(link->address) : link->address;
}

QString frmAbout::linkText(const QLabel* label) const {
    const Link* link = linkOf(label);
    if (link == nullptr) {
        return QString();
    }
    return link->mail ? QStringLiteral("mailto:%1?Subject=%2")
                            .arg(link->address, tr("A propos de %1").arg(env.title))
                      : link->address;
}

void frmAbout::hover(const Link& link) {
    ResetLinks();
    ui->Label16->setText(hoverText(link.label));
    paint(link.label, kHotLinkColour, true);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    const Link* link = linkOf(watched);
    if (link == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Enter:
        hover(*link);
        break;
    case QEvent::MouseMove:
        hover(*link);
        return true; // the form underneath would put the links back at rest
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            link->label->rect().contains(mouse->position().toPoint())) {
            // A link the desktop cannot open is simply not opened.
            env.openUrl(QUrl(linkText(link->label)));
        }
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::mouseMoveEvent(QMouseEvent* event) {
    ResetLinks();
    QDialog::mouseMoveEvent(event);
}

void frmAbout::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        ResetLinks();
    }
}

// Each time the box opens, as a window that is loaded anew.
void frmAbout::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Form_Load();
    }
    QDialog::showEvent(event);
}

void frmAbout::StartSysInfo() {
    QString program;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), program) ||
        program.isEmpty() || !env.startProgram(program)) {
        env.boxes->show(env.title,
                        tr("Les informations système ne sont pas disponibles actuellement"),
                        MessageIcon::None);
    }
}

bool frmAbout::GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) const {
    constexpr qsizetype kBufferChars = 1024;
    const std::optional<QString> found = env.registry->value(KeyRoot, KeyName, SubKeyRef);
    // A value longer than the buffer cannot be read, as one that is not there.
    if (!found || found->size() > kBufferChars) {
        KeyVal.clear();
        return false;
    }
    KeyVal = *found;
    if (KeyVal.endsWith(QChar(u'\0'))) {
        KeyVal.chop(1);
    }
    return true;
}
