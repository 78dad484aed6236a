#pragma once
#include <QGroupBox>
#include <QImage>

class QComboBox;
class QFileDialog;
class QLineEdit;
class QScrollArea;

// The cell editor for monochrome pictures and animations: one bitmap pixel per cell, white
// meaning off; the frames of an animation lie side by side from left to right.
class TPictureEditor : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kCellSize = 5;   // pixels per cell on the screen

    explicit TPictureEditor(QWidget* parent = nullptr);

    // The message kind decides how many frames the picture has: a smart message carries one
    // frame more than the animation count says.
    void SetSMSKind(int kind);

    // Sizes the paint area to frames x width x height cells; the bitmap grows to fit and
    // never shrinks, so cells outside the current size are kept for later.
    void ResizePicture();

    // Frames, cells per frame and height as the edits give them (0 where not a number).
    int Frames() const;
    int CellsWide() const;
    int CellsHigh() const;

    const QImage& PictureBitmap() const { return bitmap_; }
    bool CellOn(int x, int y) const;
    void ToggleCell(int x, int y);

    // What "Load..." and "Save.." do once their dialogs are confirmed; failures raise
    // Exception with the file name.
    void LoadPicture(const QString& fileName);
    void SavePicture(const QString& fileName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintPicture();
    void LoadButtonClick();
    void SaveButtonClick();

    QLineEdit* widthEdit_;
    QLineEdit* heightEdit_;
    QLineEdit* animationsEdit_;
    QComboBox* operatorCombo_;
    QScrollArea* scrollBox_;
    QWidget* picture_;
    QFileDialog* openDialog_;
    QFileDialog* saveDialog_;
    QImage bitmap_;   // Format_Mono, index 0 white
    int kind_ = 0;
};
