#pragma once
#include <QGroupBox>
#include <array>

#include "console/melody_items.h"

class QCheckBox;
class QComboBox;
class QTableWidget;
class TMelodyKeyboard;

// The note list of a melody: a grid of notes with an empty last row where "+" appends, the
// seven combos that describe the next note, and a keyboard that enters notes by playing them.
class TMelodyEditor : public QGroupBox {
    Q_OBJECT
public:
    explicit TMelodyEditor(QWidget* parent = nullptr);

    // An EMS melody has one tempo and one style for all its notes.
    void SetSMSKind(int kind);

    // "+": writes the combos into the current row (appending on the empty last row, or
    // inserting with "INS" checked) and moves one row down.
    void AddNote();
    // "-": removes the current note row; the empty last row stays.
    void RemoveNote();
    // The combos take the item indexes stored in the current row.
    void LoadRowToCombos();

    QComboBox* MelodyColumn(TMelodyColumn column) const { return columns_[column]; }
    TMelodyKeyboard* Keyboard() const { return keyboard_; }

private:
    void KeyPressed(int octave, int note);
    void KeyReleased(uint32_t heldMs);
    int LastRow() const;
    void SetCell(int row, TMelodyColumn column, int itemIndex);

    std::array<QComboBox*, kMelodyColumnCount> columns_;
    QTableWidget* grid_;
    QCheckBox* insert_;
    TMelodyKeyboard* keyboard_;
    int kind_ = 0;
};
