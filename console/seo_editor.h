#pragma once
#include <QGroupBox>

// A Siemens exchange object: a named file with a picture and a MIDI sound. Nothing reads or
// plays these files yet, so the file and player buttons are shown inactive.
class TSEOEditor : public QGroupBox {
    Q_OBJECT
public:
    explicit TSEOEditor(QWidget* parent = nullptr);
};
