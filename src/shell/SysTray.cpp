#include "shell/SysTray.h"

#include <QMenu>

SysTray::SysTray(const QIcon& icon, QMenu* menu) {
    tray.setObjectName(QStringLiteral("PicSysTray"));
    tray.setIcon(icon);
    tray.setToolTip(QStringLiteral("Dusk Within"));
    tray.setContextMenu(menu);
}

void SysTray::CreateIcon() {
    tray.show();
}

void SysTray::DeleteIcon() {
    tray.hide();
}

bool SysTray::available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}
