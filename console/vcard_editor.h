#pragma once
#include <QGroupBox>

// A business card's name and phone number.
class TVCardEditor : public QGroupBox {
    Q_OBJECT
public:
    explicit TVCardEditor(QWidget* parent = nullptr);
};
