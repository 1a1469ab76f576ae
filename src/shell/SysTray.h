#pragma once

#include <QIcon>
#include <QSystemTrayIcon>

class QMenu;

// The icon in the notification area, with the tooltip "Dusk Within" and the tray menu on the
// right button; the left button does nothing. There is never more than one icon.
class SysTray {
public:
    SysTray(const QIcon& icon, QMenu* menu);

    void CreateIcon();
    void DeleteIcon();
    bool isShown() const { return tray.isVisible(); }
    // Whether the desktop has a notification area to show the icon in.
    static bool available();
    QSystemTrayIcon& icon() { return tray; }

private:
    QSystemTrayIcon tray;
};
