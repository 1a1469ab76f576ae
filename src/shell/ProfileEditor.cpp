#include "shell/ProfileEditor.h"

#include "drivers/OnScreenPanel.h"
#include "engine/Engine.h"
#include "shell/BargraphFields.h"
#include "shell/LcdWidget.h"
#include "shell/VariableMenu.h"
#include "ui_ProfileEditor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

namespace {

// Fields that hold a mistake get a red frame; lines the panel does not show are greyed.
const QString kFieldStyle = QStringLiteral(
    "QLineEdit[beyondPanel=\"true\"] { color: gray; }"
    "QLineEdit[mistake=\"true\"], QSpinBox[mistake=\"true\"], QComboBox[mistake=\"true\"]"
    " { border: 2px solid #d00000; }");

constexpr int kBarPage = 1; // of each line's stack: its four bargraph fields

void setMarked(QWidget* field, const char* property, bool on) {
    if (field->property(property).toBool() == on) {
        return;
    }
    field->setProperty(property, on);
    field->style()->unpolish(field);
    field->style()->polish(field);
}

QString pageRowText(qint16 next) {
    return next == 0 ? ProfileEditor::tr("→ fin") : ProfileEditor::tr("→ %1").arg(next);
}

} // namespace

ProfileEditor::ProfileEditor(Engine& engine, EditorEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::ProfileEditor>()), engine(engine),
      env(std::move(environment)), pagePreview(engine) {
    ui->setupUi(this);
    setStyleSheet(kFieldStyle);
    lineTexts = {ui->lineText0, ui->lineText1, ui->lineText2, ui->lineText3};
    scrollModes = {ui->scroll0, ui->scroll1, ui->scroll2, ui->scroll3};
    lineStacks = {ui->lineStack0, ui->lineStack1, ui->lineStack2, ui->lineStack3};
    barFields = {{{ui->barMin0, ui->barMax0, ui->barValue0, ui->barLabel0},
                  {ui->barMin1, ui->barMax1, ui->barValue1, ui->barLabel1},
                  {ui->barMin2, ui->barMax2, ui->barValue2, ui->barLabel2},
                  {ui->barMin3, ui->barMax3, ui->barValue3, ui->barLabel3}}};
    ui->pageTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui->tryButton->setEnabled(static_cast<bool>(env.tryPage));

    // The panel of the settings, drawn beside the page as the program draws its own.
    const DisplayConfig& config = engine.state().config;
    previewPanel = std::make_unique<OnScreenPanel>(config.C, config.L, config.caracteres);
    previewWidget = new LcdWidget(*previewPanel, ui->previewFrame);
    previewWidget->setFocusPolicy(Qt::NoFocus);
    ui->previewLayout->addWidget(previewWidget, 0, Qt::AlignHCenter);
    previewPanel->setChangeListener([this] { previewWidget->modelChanged(); });
    previewPanel->reset(); // as the program initialises its panel before the first page
    connect(&previewTimer, &QTimer::timeout, this, &ProfileEditor::refreshPreview);

    // Lines past the panel's are kept for bigger panels, which share the profile.
    for (int line = config.L; line >= 1 && line < kLinesPerPage; ++line) {
        QList<QWidget*> fields{lineTexts[line]};
        for (QLineEdit* field : barFields[line]) {
            fields.append(field);
        }
        for (QWidget* field : fields) {
            setMarked(field, "beyondPanel", true);
            field->setToolTip(config.L == 1
                                  ? tr("L'afficheur ne montre qu'une ligne : celle-ci sert aux "
                                       "afficheurs plus grands")
                                  : tr("L'afficheur ne montre que %1 lignes : celle-ci sert aux "
                                       "afficheurs plus grands")
                                        .arg(config.L));
        }
    }

    variableMenu = new QMenu(this);
    variableMenu->setObjectName(QStringLiteral("variableMenu"));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        auto* field = qobject_cast<QLineEdit*>(now);
        if (field != nullptr && isAncestorOf(field) && field != ui->pleinEdit &&
            field != ui->videEdit && field != ui->ipEdit) {
            lastField = field;
        }
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    // A button's own shortcut would replace the Alt+letter its text underlines: both are kept.
    const std::pair<QPushButton*, QKeySequence> shortcuts[] = {
        {ui->addPageButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
        {ui->duplicatePageButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {ui->deletePageButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X)},
        {ui->moveUpButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
        {ui->moveDownButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
        {ui->insertVariableButton, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {ui->newButton, QKeySequence::New},
        {ui->openButton, QKeySequence::Open},
        {ui->saveButton, QKeySequence::Save},
        {ui->saveAsButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
    };
    for (const auto& [button, keys] : shortcuts) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, button, &QAbstractButton::animateClick);
    }
    connectFields();
    setDocument(newProfileDocument(), false);
}

ProfileEditor::~ProfileEditor() {
    if (ui->tryButton->isChecked() && env.endTrial) {
        env.endTrial();
    }
    delete previewWidget; // it draws the panel, which goes before the window's children
}

void ProfileEditor::connectFields() {
    // Typing in a field makes it where variables go, even where focus is not followed.
    const auto insertsHere = [this](QLineEdit* field) {
        connect(field, &QLineEdit::textEdited, this, [this, field] { lastField = field; });
    };
    for (int line = 0; line < kLinesPerPage; ++line) {
        insertsHere(lineTexts[line]);
        connect(lineTexts[line], &QLineEdit::textChanged, this,
                [this, line](const QString& text) { lineTextEdited(line, text); });
        for (QLineEdit* field : barFields[line]) {
            insertsHere(field);
            connect(field, &QLineEdit::textChanged, this, [this, line] { barFieldEdited(line); });
        }
        connect(scrollModes[line], &QComboBox::currentIndexChanged, this,
                [this, line](int mode) { scrollChosen(line, mode); });
    }
    connect(ui->timeSpin, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (!showing && page() != nullptr) {
            page()->time = static_cast<qint16>(seconds);
            showPageRow(shownPage);
            edited();
        }
    });
    connect(ui->nextCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing && page() != nullptr && index >= 0) {
            page()->next = static_cast<qint16>(ui->nextCombo->itemData(index).toInt());
            showPageRow(shownPage);
            edited();
        }
    });
    const auto param = [this](QLineEdit* field, QString ProfileDocument::*value) {
        connect(field, &QLineEdit::textChanged, this, [this, value](const QString& text) {
            if (!showing) {
                doc.*value = text;
                edited();
            }
        });
    };
    param(ui->pleinEdit, &ProfileDocument::plein);
    param(ui->videEdit, &ProfileDocument::vide);
    param(ui->ipEdit, &ProfileDocument::ipLocalEx);

    connect(ui->pageTable, &QTableWidget::currentCellChanged, this,
            [this](int row) { selectPage(row); });
    connect(ui->addPageButton, &QPushButton::clicked, this,
            [this] { pagesChanged(addPage(doc, shownPage + 1), shownPage + 1); });
    connect(ui->duplicatePageButton, &QPushButton::clicked, this,
            [this] { pagesChanged(duplicatePage(doc, shownPage), shownPage + 1); });
    connect(ui->deletePageButton, &QPushButton::clicked, this, [this] {
        const int at = shownPage;
        // The page to show is the one at its place among those left, once it has gone.
        const bool deleted = deletePage(doc, at);
        pagesChanged(deleted, qMin(at, static_cast<int>(doc.pages.size()) - 1));
    });
    connect(ui->moveUpButton, &QPushButton::clicked, this, [this] {
        const int at = shownPage;
        pagesChanged(movePage(doc, at, at - 1), at - 1);
    });
    connect(ui->moveDownButton, &QPushButton::clicked, this, [this] {
        const int at = shownPage;
        pagesChanged(movePage(doc, at, at + 1), at + 1);
    });
    connect(ui->mistakeList, &QListWidget::currentRowChanged, this, &ProfileEditor::mistakeChosen);
    connect(ui->insertVariableButton, &QPushButton::clicked, this,
            &ProfileEditor::showVariableMenu);
    connect(ui->newButton, &QPushButton::clicked, this, &ProfileEditor::askNew);
    connect(ui->openButton, &QPushButton::clicked, this, &ProfileEditor::askOpen);
    connect(ui->saveButton, &QPushButton::clicked, this, &ProfileEditor::save);
    connect(ui->saveAsButton, &QPushButton::clicked, this, &ProfileEditor::saveAs);
    connect(ui->tryButton, &QPushButton::toggled, this, &ProfileEditor::trial);
    connect(ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void ProfileEditor::openFile(const QString& path) {
    if (QFileInfo::exists(path)) {
        setDocument(openProfileDocument(path), false);
        return;
    }
    ProfileDocument made = newProfileDocument();
    made.path = path;
    setDocument(std::move(made), false);
}

void ProfileEditor::newProfile(bool fromDemo) {
    setDocument(newProfileDocument(fromDemo ? env.demoProfile : QString()), false);
}

void ProfileEditor::setDocument(ProfileDocument document, bool isModified) {
    doc = std::move(document);
    showProfileParams();
    setWindowModified(isModified);
    showTitle();
    showPages(doc.pages.isEmpty() ? -1 : 0);
}

void ProfileEditor::showProfileParams() {
    showing = true;
    ui->pleinEdit->setText(doc.plein);
    ui->videEdit->setText(doc.vide);
    ui->ipEdit->setText(doc.ipLocalEx);
    showing = false;
}

// The table of pages, the choice of the next page and the chosen page, from the document.
void ProfileEditor::showPages(int select) {
    showing = true;
    ui->pageTable->setRowCount(static_cast<int>(doc.pages.size()));
    for (int row = 0; row < doc.pages.size(); ++row) {
        showPageRow(row);
    }
    showing = false;
    ui->deletePageButton->setEnabled(!doc.pages.isEmpty());
    ui->duplicatePageButton->setEnabled(!doc.pages.isEmpty());
    ui->addPageButton->setEnabled(doc.pages.size() < kLastPage);
    showing = true;
    ui->pageTable->setCurrentCell(select, 0);
    showing = false;
    selectPage(select, true);
}

void ProfileEditor::showPageRow(int row) {
    if (row < 0 || row >= doc.pages.size()) {
        return;
    }
    const EditedPage& shown = doc.pages[row];
    const QStringList cells{QString::number(row + 1), shown.lines[0].text,
                            shown.time == 0 ? tr("reste") : tr("%1 s").arg(shown.time),
                            pageRowText(shown.next)};
    for (int column = 0; column < cells.size(); ++column) {
        QTableWidgetItem* item = ui->pageTable->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            ui->pageTable->setItem(row, column, item);
        }
        item->setText(cells[column]);
    }
}

void ProfileEditor::fillNextCombo() {
    ui->nextCombo->clear();
    ui->nextCombo->addItem(tr("aucune (arrêt)"), 0);
    for (int number = 1; number <= doc.pages.size(); ++number) {
        ui->nextCombo->addItem(QString::number(number), number);
    }
    const int next = page() != nullptr ? page()->next : 0;
    // A page that the file names but does not have stays visible, as a mistake.
    if (next < 0 || next > doc.pages.size()) {
        ui->nextCombo->addItem(tr("%1 (absente)").arg(next), next);
    }
    ui->nextCombo->setCurrentIndex(ui->nextCombo->findData(next));
}

void ProfileEditor::selectPage(int row, bool again) {
    if (showing || (row == shownPage && !again)) {
        return;
    }
    shownPage = row >= 0 && row < doc.pages.size() ? row : -1;
    if (shownPage >= 0 && ui->pageTable->currentRow() != shownPage) {
        showing = true;
        ui->pageTable->setCurrentCell(shownPage, 0);
        showing = false;
    }
    showPage();
    findMistakes();
    previewPage();
    if (ui->tryButton->isChecked()) {
        trial(true);
    }
}

void ProfileEditor::showPage() {
    showing = true;
    ui->pageGroup->setEnabled(page() != nullptr);
    for (int line = 0; line < kLinesPerPage; ++line) {
        showLine(line);
    }
    ui->timeSpin->setValue(page() != nullptr ? page()->time : 0);
    fillNextCombo();
    ui->moveUpButton->setEnabled(shownPage > 0);
    ui->moveDownButton->setEnabled(shownPage >= 0 && shownPage + 1 < doc.pages.size());
    showing = false;
}

void ProfileEditor::showLine(int line) {
    const EditedLine shown = page() != nullptr ? page()->lines[line] : EditedLine{};
    // A mode the editor does not name (the file may hold any number) shows as no choice.
    const bool named = shown.scroll >= kScrollFixed && shown.scroll <= kScrollBargraph;
    scrollModes[line]->setCurrentIndex(named ? shown.scroll : -1);
    lineTexts[line]->setText(shown.text);
    lineTexts[line]->setCursorPosition(0); // a long line shows from its start, as on the panel
    const BargraphFields parts = splitBargraph(shown.text);
    const std::array<QString, 4> values{parts.low, parts.high, parts.value, parts.label};
    for (std::size_t i = 0; i < values.size(); ++i) {
        barFields[line][i]->setText(values[i]);
    }
    lineStacks[line]->setCurrentIndex(shown.scroll == kScrollBargraph ? kBarPage : 0);
}

void ProfileEditor::lineTextEdited(int line, const QString& text) {
    if (showing || page() == nullptr) {
        return;
    }
    page()->lines[line].text = text;
    if (line == 0) {
        showPageRow(shownPage);
    }
    edited();
}

void ProfileEditor::barFieldEdited(int line) {
    if (showing || page() == nullptr) {
        return;
    }
    const auto& fields = barFields[line];
    const QString text = composeBargraph(
        {fields[0]->text(), fields[1]->text(), fields[2]->text(), fields[3]->text()});
    showing = true;
    lineTexts[line]->setText(text);
    showing = false;
    lineTextEdited(line, text);
}

void ProfileEditor::scrollChosen(int line, int mode) {
    if (showing || page() == nullptr || mode < 0) {
        return;
    }
    page()->lines[line].scroll = static_cast<qint16>(mode);
    showing = true;
    showLine(line); // the text, or its bargraph parts, in the fields of the mode
    showing = false;
    edited();
}

// After every change: the title, the mistakes, the preview and the panel on trial follow it.
void ProfileEditor::edited() {
    setWindowModified(true);
    findMistakes();
    previewPage();
    if (ui->tryButton->isChecked()) {
        trial(true);
    }
}

void ProfileEditor::pagesChanged(bool changed, int select) {
    if (!changed) {
        return;
    }
    showPages(select);
    edited();
}

void ProfileEditor::findMistakes() {
    found = ::findMistakes(doc, engine.state().config);
    const QSignalBlocker quiet(ui->mistakeList);
    ui->mistakeList->clear();
    for (const ProfileMistake& mistake : found) {
        ui->mistakeList->addItem(mistake.text); // which says where it is
    }
    markMistakes();
}

void ProfileEditor::markMistakes() {
    QHash<QWidget*, QStringList> sentences;
    for (const ProfileMistake& mistake : found) {
        if (mistake.page - 1 == shownPage) {
            for (QWidget* field : fieldsOf(mistake)) {
                sentences[field].append(mistake.text);
            }
        }
    }
    QList<QWidget*> fields{ui->timeSpin, ui->nextCombo};
    for (int line = 0; line < kLinesPerPage; ++line) {
        fields.append(lineTexts[line]);
        for (QLineEdit* field : barFields[line]) {
            fields.append(field);
        }
    }
    for (QWidget* field : fields) {
        // The tooltip a field has of its own comes back once its mistakes are gone.
        if (!field->property("ownTip").isValid()) {
            field->setProperty("ownTip", field->toolTip());
        }
        const bool marked = sentences.contains(field);
        setMarked(field, "mistake", marked);
        field->setToolTip(marked ? sentences[field].join(QLatin1Char('\n'))
                                 : field->property("ownTip").toString());
    }
}

// The fields that show what a mistake is about.
QList<QWidget*> ProfileEditor::fieldsOf(const ProfileMistake& mistake) const {
    using Kind = ProfileMistake::Kind;
    if (mistake.line < 0 || mistake.line >= kLinesPerPage) {
        if (mistake.kind == Kind::TimeOutOfRange) {
            return {ui->timeSpin};
        }
        return {ui->nextCombo};
    }
    const auto& bar = barFields[mistake.line];
    const bool isBar =
        doc.pages.value(mistake.page - 1).lines[mistake.line].scroll == kScrollBargraph;
    if (!isBar) {
        return {lineTexts[mistake.line]};
    }
    switch (mistake.kind) {
    case Kind::BargraphNotNumbers:
        return {bar[0], bar[1], bar[2]};
    case Kind::BargraphRange:
        return {bar[0], bar[1]};
    default:
        return {bar[0], bar[1], bar[2], bar[3]};
    }
}

void ProfileEditor::mistakeChosen(int row) {
    if (row < 0 || row >= found.size()) {
        return;
    }
    const ProfileMistake mistake = found[row];
    selectPage(mistake.page - 1);
    const QList<QWidget*> fields = fieldsOf(mistake);
    if (!fields.isEmpty()) {
        fields.first()->setFocus();
    }
}

void ProfileEditor::previewPage() {
    if (page() == nullptr) {
        previewTimer.stop();
        return;
    }
    pagePreview.setPage(pageRecords(*page()), profileParams(doc));
    // At the program's pace, which its slider may have changed since the last edit.
    const int refresh = qMax(1, engine.Timer1().interval() > 0 ? engine.Timer1().interval()
                                                               : engine.state().config.refresh);
    if (!previewTimer.isActive() || previewTimer.interval() != refresh) {
        previewTimer.start(refresh);
    }
}

void ProfileEditor::refreshPreview() {
    if (const std::optional<Frame> frame = pagePreview.refresh(previewPanel->characters())) {
        previewPanel->show(*frame);
    }
}

void ProfileEditor::trial(bool on) {
    if (on && env.tryPage && page() != nullptr) {
        env.tryPage(pageRecords(*page()), profileParams(doc));
    } else if (!on && env.endTrial) {
        env.endTrial();
    }
}

void ProfileEditor::showVariableMenu() {
    fillVariableMenu(*variableMenu, engine,
                     [this](const QString& variable) { insertVariable(variable); });
    variableMenu->popup(
        ui->insertVariableButton->mapToGlobal(ui->insertVariableButton->rect().bottomLeft()));
}

void ProfileEditor::insertVariable(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    QLineEdit* field =
        lastField != nullptr && lastField->isVisibleTo(this) ? lastField.data() : lineTexts[0];
    field->setFocus();
    field->insert(name);
}

void ProfileEditor::askNew() {
    if (!maySetAside()) {
        return;
    }
    bool fromDemo = false;
    if (!env.demoProfile.isEmpty() && QFileInfo::exists(env.demoProfile)) {
        const int answer = env.questions->ask(
            tr("Nouveau profil"),
            tr("Commencer le nouveau profil par une copie de la démonstration ou par une page "
               "vide ?"),
            {tr("Copie de la &démonstration"), tr("Page &vide"), tr("Annuler")});
        if (answer != 0 && answer != 1) {
            return;
        }
        fromDemo = answer == 0;
    }
    newProfile(fromDemo);
}

void ProfileEditor::askOpen() {
    if (!maySetAside()) {
        return;
    }
    const QString folder = doc.path.isEmpty() ? QString() : QFileInfo(doc.path).absolutePath();
    const QString path = env.chooseOpen(this, folder);
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool ProfileEditor::save() {
    return doc.path.isEmpty() ? saveAs() : saveTo(doc.path);
}

bool ProfileEditor::saveAs() {
    const QString proposed = doc.path.isEmpty() ? QDir::home().filePath(fileName()) : doc.path;
    QString path = env.chooseSave(this, proposed);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().compare(QStringLiteral("tlcd"), Qt::CaseInsensitive) != 0) {
        path += QStringLiteral(".tlcd");
    }
    return saveTo(path);
}

bool ProfileEditor::saveTo(const QString& path) {
    if (!found.isEmpty()) {
        // French is the source language, with no plural forms of its own: one sentence each.
        const QString question =
            found.size() == 1
                ? tr("Le profil a une erreur. Enregistrer quand même ?")
                : tr("Le profil a %1 erreurs. Enregistrer quand même ?").arg(found.size());
        const int answer = env.questions->ask(tr("Éditeur de profil"), question,
                                              {tr("&Enregistrer"), tr("Annuler")});
        if (answer != 0) {
            return false;
        }
    }
    if (!saveProfileDocument(doc, path)) {
        env.boxes->show(tr("Éditeur de profil"),
                        tr("Le profil n'a pas pu être écrit dans %1.").arg(path),
                        MessageIcon::Exclamation);
        return false;
    }
    doc.path = path;
    setWindowModified(false);
    showTitle();
    Q_EMIT saved(path);
    return true;
}

bool ProfileEditor::maySetAside() {
    if (!isWindowModified()) {
        return true;
    }
    const int answer = env.questions->ask(
        tr("Éditeur de profil"), tr("Enregistrer les modifications de « %1 » ?").arg(fileName()),
        {tr("&Enregistrer"), tr("&Ne pas enregistrer"), tr("Annuler")});
    return answer == 0 ? save() : answer == 1;
}

QString ProfileEditor::fileName() const {
    return doc.path.isEmpty() ? tr("nouveau.tlcd") : QFileInfo(doc.path).fileName();
}

void ProfileEditor::showTitle() {
    setWindowTitle(tr("Éditeur de profil — %1[*]").arg(fileName()));
}

EditedPage* ProfileEditor::page() {
    return shownPage >= 0 && shownPage < doc.pages.size() ? &doc.pages[shownPage] : nullptr;
}

void ProfileEditor::closeEvent(QCloseEvent* event) {
    if (!maySetAside()) {
        event->ignore();
        return;
    }
    previewTimer.stop();
    if (ui->tryButton->isChecked()) {
        ui->tryButton->setChecked(false); // ends the trial
    }
    event->accept();
}
