#pragma once

#include "about/SysInfoRegistry.h"
#include "platform/MessageBoxes.h"

#include <QDialog>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

class QLabel;

namespace Ui {
class frmAbout;
}

// What the About box needs from the world around it; tests replace any of it.
struct AboutEnvironment {
    QString title = QStringLiteral("Relayeur");         // the program's title
    QString version = QStringLiteral(RELAYEUR_VERSION); // major.minor.revision
    MessageBoxes* boxes = nullptr;                      // not owned
    std::function<bool(const QUrl&)> openUrl;           // empty: the desktop's mail or browser
    std::function<bool(const QString& program)> startProgram; // empty: started on its own
    const Registry* registry = nullptr; // not owned; empty: this system's stand-in
};

// The About box: version, contributors and web links, and the system-information button.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AboutEnvironment environment, QWidget* parent = nullptr);
    ~frmAbout() override;

    void Form_Load();
    void CentreForm();
    void ResetLinks();
    void StartSysInfo();
    bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal) const;

    // What the label shows under the mouse, and what a click on it opens.
    QString hoverText(const QLabel* link) const;
    QString linkText(const QLabel* link) const;
    QList<QLabel*> linkLabels() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Link {
        QLabel* label;
        QString address; // a mail address, or a web address
        bool mail;
    };
    const Link* linkOf(const QObject* label) const;
    void hover(const Link& link);

    std::unique_ptr<Ui::frmAbout> ui;
    AboutEnvironment env;
    std::unique_ptr<Registry> systemRegistry;
    std::vector<Link> links;
};
