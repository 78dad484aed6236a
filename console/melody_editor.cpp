#include "console/melody_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "console/melody_keyboard.h"

namespace {

constexpr int kEMSKind = 2;
constexpr int kItemIndexRole = Qt::UserRole;

}  // namespace

TMelodyEditor::TMelodyEditor(QWidget* parent) : QGroupBox(tr("Melody"), parent)
{
    setObjectName("MelodyGB");
    auto* name = new QLineEdit(this);
    name->setObjectName("MelodyName");
    // No melody file format is defined yet: the file buttons are shown but inactive.
    auto* loadButton = new QPushButton(tr("Load..."), this);
    loadButton->setObjectName("Button1");
    loadButton->setEnabled(false);
    auto* saveButton = new QPushButton(tr("Save.."), this);
    saveButton->setObjectName("Button4");
    saveButton->setEnabled(false);

    // The grid's header row is its horizontal header; its rows are the notes and, last, the
    // empty row where "+" appends.
    grid_ = new QTableWidget(1, kMelodyColumnCount, this);
    grid_->setObjectName("MelodyGrid");
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* combos = new QHBoxLayout;
    combos->setSpacing(0);
    QStringList headers;
    for (int c = 0; c < kMelodyColumnCount; ++c) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(kMelodyColumns[c].comboName);
        for (const char* item : kMelodyColumns[c].items)
            combo->addItem(item);
        combo->setFixedWidth(combo->sizeHint().width());
        columns_[c] = combo;
        combos->addWidget(combo);
        headers << kMelodyColumns[c].header;
    }
    combos->addStretch();
    grid_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < kMelodyColumnCount; ++c)
        grid_->setColumnWidth(c, columns_[c]->width());
    grid_->setCurrentCell(0, 0);

    insert_ = new QCheckBox(tr("INS"), this);
    insert_->setObjectName("MelodyInsert");
    auto* addButton = new QPushButton(tr("+"), this);
    addButton->setObjectName("Button5");
    auto* removeButton = new QPushButton(tr("-"), this);
    removeButton->setObjectName("Button6");
    for (QPushButton* b : {addButton, removeButton})
        b->setFixedWidth(b->sizeHint().height() * 2);
    keyboard_ = new TMelodyKeyboard(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Name"), this));
    top->addWidget(name, 1);
    top->addWidget(loadButton);
    top->addWidget(saveButton);
    auto* edit = new QHBoxLayout;
    edit->addWidget(insert_);
    edit->addWidget(addButton);
    edit->addWidget(removeButton);
    edit->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(combos);
    layout->addLayout(edit);
    layout->addWidget(keyboard_);

    connect(addButton, &QPushButton::clicked, this, &TMelodyEditor::AddNote);
    connect(removeButton, &QPushButton::clicked, this, &TMelodyEditor::RemoveNote);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &TMelodyEditor::LoadRowToCombos);
    connect(keyboard_, &TMelodyKeyboard::KeyPressed, this, &TMelodyEditor::KeyPressed);
    connect(keyboard_, &TMelodyKeyboard::KeyReleased, this, &TMelodyEditor::KeyReleased);
    LoadRowToCombos();
}

void TMelodyEditor::SetSMSKind(int kind)
{
    kind_ = kind;
}

int TMelodyEditor::LastRow() const
{
    return grid_->rowCount() - 1;
}

void TMelodyEditor::SetCell(int row, TMelodyColumn column, int itemIndex)
{
    auto* cell = new QTableWidgetItem(kMelodyColumns[column].items.at(itemIndex));
    cell->setData(kItemIndexRole, itemIndex);
    grid_->setItem(row, column, cell);
}

void TMelodyEditor::AddNote()
{
    const int row = std::max(grid_->currentRow(), 0);
    if (insert_->isChecked() || row == LastRow())
        grid_->insertRow(row);
    for (int c = 0; c < kMelodyColumnCount; ++c)
        SetCell(row, TMelodyColumn(c), columns_[c]->currentIndex());
    grid_->setCurrentCell(row + 1, std::max(grid_->currentColumn(), 0));
    if (kind_ == kEMSKind)
        for (int r = 0; r < LastRow(); ++r) {
            SetCell(r, mcTempo, columns_[mcTempo]->currentIndex());
            SetCell(r, mcStyle, columns_[mcStyle]->currentIndex());
        }
}

void TMelodyEditor::RemoveNote()
{
    const int row = grid_->currentRow();
    if (row < 0 || row == LastRow())
        return;
    grid_->removeRow(row);
    grid_->setCurrentCell(row == LastRow() && row > 0 ? row - 1 : row, std::max(grid_->currentColumn(), 0));
}

void TMelodyEditor::LoadRowToCombos()
{
    const int row = grid_->currentRow();
    for (int c = 0; c < kMelodyColumnCount; ++c) {
        const QTableWidgetItem* cell = grid_->rowCount() > 1 && row >= 0 ? grid_->item(row, c) : nullptr;
        columns_[c]->setCurrentIndex(cell ? cell->data(kItemIndexRole).toInt() : 0);
    }
}

void TMelodyEditor::KeyPressed(int octave, int note)
{
    columns_[mcScale]->setCurrentIndex(octave);
    columns_[mcNote]->setCurrentIndex(note);
}

void TMelodyEditor::KeyReleased(uint32_t heldMs)
{
    columns_[mcDuration]->setCurrentIndex(HoldDurationIndex(heldMs));
    AddNote();
}
