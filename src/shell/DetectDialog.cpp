#include "shell/DetectDialog.h"

#include "detect/PanelChoice.h"
#include "drivers/I2cBackpack.h"
#include "ui_DetectDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

DetectDialog::DetectDialog(SearchPlaces places, QString settingsFile, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DetectDialog>()), places(std::move(places)),
      settingsFile(std::move(settingsFile)) {
    ui->setupUi(this);
    auto* rows = static_cast<QGridLayout*>(ui->wirings->layout());
    for (const BackpackWiring& wiring : backpackWirings()) {
        const int number = wiring.number;
        const int row = rows->rowCount();
        rows->addWidget(new QLabel(describeWiring(wiring)), row, 0);
        auto* tryIt = new QPushButton(tr("&%1 Essayer").arg(number));
        rows->addWidget(tryIt, row, 1);
        connect(tryIt, &QPushButton::clicked, this, [this, number] { tryWiring(number); });
        auto* fits = new QPushButton(tr("Ça s'affiche bien"));
        rows->addWidget(fits, row, 2);
        connect(fits, &QPushButton::clicked, this, [this, number] { wiringFits(number); });
        fitsButtons.push_back(fits);
    }
    auto* none = new QPushButton(tr("&Aucun ne s'affiche bien"));
    rows->addWidget(none, rows->rowCount(), 2);
    connect(none, &QPushButton::clicked, this, [this] { wiringFits(0); });
    ui->wirings->hide();
    connect(ui->searchAgain, &QPushButton::clicked, this, &DetectDialog::search);
    connect(ui->use, &QPushButton::clicked, this, [this] { choose(ui->found->currentRow()); });
    connect(ui->found, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(rowCandidate.size()) && rowCandidate[row] >= 0) {
            ui->status->setText(
                tr("Utiliser %1 ?").arg(describeCandidate(found[rowCandidate[row]])));
        }
        updateButtons();
    });
    // Enter on the list reaches the default button, « Utiliser cet afficheur »; a double click
    // does the same.
    connect(ui->found, &QListWidget::itemDoubleClicked, this,
            [this] { choose(ui->found->currentRow()); });
    updateButtons();
}

DetectDialog::~DetectDialog() {
    // The search ends within about a second; its results have nowhere to go then.
    if (worker) {
        worker->wait();
    }
}

void DetectDialog::search() {
    if (worker) {
        return;
    }
    trying = nullptr;
    ui->wirings->hide();
    ui->found->clear();
    rowCandidate.clear();
    found.clear();
    ui->status->setText(tr("Recherche des afficheurs…"));
    auto result = std::make_shared<std::vector<Candidate>>();
    worker.reset(QThread::create([result, places = places] { *result = searchPanels(places); }));
    connect(worker.get(), &QThread::finished, this, [this, result] {
        // Sent from the thread just before it ends: it has ended once wait() returns.
        worker->wait();
        worker.reset();
        showFound(std::move(*result));
        Q_EMIT searchFinished();
    });
    worker->start();
    updateButtons();
}

void DetectDialog::showFound(std::vector<Candidate> candidates) {
    found = std::move(candidates);
    int choosable = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Candidate& candidate = found[i];
        const bool canChoose = candidate.usable && !candidate.inUse;
        QString text = describeCandidate(candidate);
        if (candidate.inUse) {
            text = tr("%1 — l'envoi sur le LCD est en cours : il est laissé tel quel").arg(text);
        }
        auto* item = new QListWidgetItem(text, ui->found);
        if (!canChoose) {
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        }
        rowCandidate.push_back(canChoose ? int(i) : -1);
        choosable += canChoose ? 1 : 0;
    }
    if (choosable == 0) {
        ui->status->setText(found.empty() ? tr("Aucun afficheur trouvé.")
                                          : tr("Aucun afficheur utilisable trouvé."));
    } else {
        ui->status->setText(tr("Choisissez l'afficheur à utiliser."));
        for (int row = 0; row < int(rowCandidate.size()); ++row) {
            if (rowCandidate[row] >= 0) {
                ui->found->setCurrentRow(row);
                break;
            }
        }
        ui->found->setFocus();
    }
    updateButtons();
}

void DetectDialog::choose(int row) {
    if (worker || row < 0 || row >= int(rowCandidate.size()) || rowCandidate[row] < 0) {
        return;
    }
    const Candidate& candidate = found[rowCandidate[row]];
    if (candidate.typeLcd != 5) {
        write(candidate, 0);
        return;
    }
    trying = &candidate;
    ui->wirings->show();
    tryWiring(backpackWirings().front().number);
}

void DetectDialog::tryWiring(int wiring) {
    if (trying == nullptr) {
        return;
    }
    QString error;
    triedWiring = wiring;
    if (::tryWiring(*trying, wiring, trialSettings(settingsFile), error)) {
        ui->status->setText(
            tr("Brochage %1 essayé : l'afficheur montre-t-il « Relayeur » et le brochage ?")
                .arg(wiring));
    } else {
        ui->status->setText(
            tr("Brochage %1 : l'afficheur n'a pas pu être écrit (%2).").arg(wiring).arg(error));
    }
    updateButtons();
    if (const auto fits = std::size_t(wiring - 1); fits < fitsButtons.size()) {
        fitsButtons[fits]->setFocus();
    }
}

void DetectDialog::wiringFits(int wiring) {
    if (trying == nullptr) {
        return;
    }
    const Candidate candidate = *trying;
    trying = nullptr;
    ui->wirings->hide();
    if (wiring == 0) {
        ui->status->setText(tr("Aucun brochage ne convient : rien n'est écrit."));
    } else {
        write(candidate, wiring);
    }
    updateButtons();
}

void DetectDialog::write(const Candidate& candidate, int wiring) {
    const std::vector<SettingChange> settings = settingsFor(candidate, wiring);
    QString error;
    if (!writeSettings(settingsFile, settings, error)) {
        ui->status->setText(tr("Erreur : %1").arg(error));
        return;
    }
    const QString text =
        describeSettings(settings) + QStringLiteral("\n") + settingsWrittenText(settingsFile);
    ui->status->setText(text);
    Q_EMIT settingsWritten(text);
}

void DetectDialog::updateButtons() {
    const int row = ui->found->currentRow();
    ui->use->setEnabled(!worker && trying == nullptr && row >= 0 &&
                        row < int(rowCandidate.size()) && rowCandidate[row] >= 0);
    ui->searchAgain->setEnabled(!worker);
    for (std::size_t i = 0; i < fitsButtons.size(); ++i) {
        fitsButtons[i]->setEnabled(int(i) + 1 == triedWiring);
    }
}
