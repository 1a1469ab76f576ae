#pragma once

#include "detect/PanelSearch.h"

#include <QDialog>
#include <QThread>
#include <memory>
#include <vector>

class QPushButton;

namespace Ui {
class DetectDialog;
}

// File > « Détecter l'afficheur… »: the search on a thread of its own, what it found, and the
// settings of the panel the user picks written into param.ini. A backpack is first tried with
// each wiring until the user says which one reads right.
class DetectDialog : public QDialog {
    Q_OBJECT
public:
    DetectDialog(SearchPlaces places, QString settingsFile, QWidget* parent = nullptr);
    ~DetectDialog() override;

    // Starts a search unless one runs.
    void search();
    bool searching() const { return worker != nullptr; }
    const std::vector<Candidate>& candidates() const { return found; }

    // The candidate of row `row` of the list, as the user's choice.
    void choose(int row);
    // Shows the wiring on the chosen backpack.
    void tryWiring(int wiring);
    // The user read the last wiring tried right (0: none did).
    void wiringFits(int wiring);

Q_SIGNALS:
    void searchFinished();
    // The settings were written: what the window's log should say.
    void settingsWritten(const QString& text);

private:
    void showFound(std::vector<Candidate> candidates);
    void write(const Candidate& candidate, int wiring);
    void updateButtons();

    std::unique_ptr<Ui::DetectDialog> ui;
    SearchPlaces places;
    QString settingsFile;
    std::vector<Candidate> found;
    std::vector<int> rowCandidate; // the candidate of each row, -1 for those not to be chosen
    std::unique_ptr<QThread> worker;
    const Candidate* trying = nullptr; // the backpack being tried
    int triedWiring = 0;
    std::vector<QPushButton*> fitsButtons;
};
