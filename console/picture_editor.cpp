#include "console/picture_editor.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>

#include "console/error_box.h"
#include "console/network_operators.h"
#include "console/qt_text.h"
#include "platform/sys/exception.h"
#include "platform/sys/format.h"

namespace {

const QColor kOddFrameColour(0, 255, 128);
const QColor kEvenFrameColour(128, 255, 255);
constexpr int kSmartMessageKind = 1;   // carries one frame more than the animation count
// Picture messages count cells and frames in single octets.
constexpr int kMaxCells = 255;
constexpr int kCellOff = 0;
constexpr int kCellOn = 1;

int EditValue(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? std::clamp(value, 0, kMaxCells) : 0;
}

QLineEdit* CellCountEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(3);
    edit->setMaximumWidth(48);
    return edit;
}

QImage EmptyBitmap(int width, int height)
{
    QImage bitmap(width, height, QImage::Format_Mono);
    bitmap.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bitmap.fill(kCellOff);
    return bitmap;
}

}  // namespace

TPictureEditor::TPictureEditor(QWidget* parent) : QGroupBox(tr("Picture"), parent)
{
    setObjectName("PictureGB");
    widthEdit_ = CellCountEdit("PictureWidth", this);
    heightEdit_ = CellCountEdit("PictureHeight", this);
    animationsEdit_ = CellCountEdit("PictureNumAnimations", this);

    operatorCombo_ = new QComboBox(this);
    operatorCombo_->setObjectName("PictureOperator");
    for (const TNetworkOperator& op : kNetworkOperators)
        operatorCombo_->addItem(ToQString(NetworkOperatorItem(op)));

    picture_ = new QWidget;
    picture_->setObjectName("Picture");
    picture_->setFixedSize(0, 0);
    picture_->installEventFilter(this);
    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName("ScrollBox1");
    scrollBox_->setWidget(picture_);
    QPalette palette = scrollBox_->palette();
    palette.setColor(QPalette::Window, kOddFrameColour);
    scrollBox_->setPalette(palette);
    scrollBox_->setBackgroundRole(QPalette::Window);

    auto* loadButton = new QPushButton(tr("Load..."), this);
    loadButton->setObjectName("Button2");
    auto* saveButton = new QPushButton(tr("Save.."), this);
    saveButton->setObjectName("Button3");

    openDialog_ = new QFileDialog(this, tr("Load bitmap"));
    openDialog_->setObjectName("OpenPictureDialog");
    openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    openDialog_->setDefaultSuffix("bmp");
    openDialog_->setNameFilters({tr("Bitmaps (*.bmp)"), tr("Images (*.bmp *.png *.xpm *.pbm)"),
                                 tr("All files (*)")});
    saveDialog_ = new QFileDialog(this, tr("Save bitmap"));
    saveDialog_->setObjectName("SavePictureDialog");
    saveDialog_->setAcceptMode(QFileDialog::AcceptSave);   // asks before overwriting
    saveDialog_->setDefaultSuffix("bmp");
    saveDialog_->setNameFilters({tr("Bitmaps (*.bmp)"), tr("All files (*)")});

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("Width"), this), 0, 0);
    fields->addWidget(widthEdit_, 0, 1);
    fields->addWidget(new QLabel(tr("Height"), this), 0, 2);
    fields->addWidget(heightEdit_, 0, 3);
    fields->addWidget(new QLabel(tr("Num.animations"), this), 0, 4);
    fields->addWidget(animationsEdit_, 0, 5);
    fields->addWidget(new QLabel(tr("Operator"), this), 1, 0);
    fields->addWidget(operatorCombo_, 1, 1, 1, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(loadButton);
    buttons->addWidget(saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(scrollBox_, 1);
    layout->addLayout(buttons);

    for (QLineEdit* edit : {widthEdit_, heightEdit_, animationsEdit_})
        edit->installEventFilter(this);
    connect(loadButton, &QPushButton::clicked, this, &TPictureEditor::LoadButtonClick);
    connect(saveButton, &QPushButton::clicked, this, &TPictureEditor::SaveButtonClick);
}

void TPictureEditor::SetSMSKind(int kind)
{
    kind_ = kind;
}

int TPictureEditor::Frames() const
{
    return EditValue(animationsEdit_) + (kind_ == kSmartMessageKind ? 1 : 0);
}

int TPictureEditor::CellsWide() const
{
    return EditValue(widthEdit_);
}

int TPictureEditor::CellsHigh() const
{
    return EditValue(heightEdit_);
}

void TPictureEditor::ResizePicture()
{
    const int cellsWide = Frames() * CellsWide();
    const int cellsHigh = CellsHigh();
    picture_->setFixedSize(cellsWide * kCellSize, cellsHigh * kCellSize);
    picture_->update();

    if (bitmap_.width() >= cellsWide && bitmap_.height() >= cellsHigh)
        return;
    QImage grown = EmptyBitmap(std::max(bitmap_.width(), cellsWide), std::max(bitmap_.height(), cellsHigh));
    for (int y = 0; y < bitmap_.height(); ++y)
        for (int x = 0; x < bitmap_.width(); ++x)
            grown.setPixel(x, y, bitmap_.pixelIndex(x, y));
    bitmap_ = std::move(grown);
}

bool TPictureEditor::CellOn(int x, int y) const
{
    return bitmap_.valid(x, y) && bitmap_.pixelIndex(x, y) == kCellOn;
}

void TPictureEditor::ToggleCell(int x, int y)
{
    if (!bitmap_.valid(x, y))
        return;
    bitmap_.setPixel(x, y, CellOn(x, y) ? kCellOff : kCellOn);
    picture_->update();
}

void TPictureEditor::LoadPicture(const QString& fileName)
{
    const QImage image(fileName);
    if (image.isNull())
        throw Exception(Format("Cannot load the bitmap %s", FromQString(fileName).c_str()));
    // White is off, every other colour is on.
    QImage bitmap = EmptyBitmap(image.width(), image.height());
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & RGB_MASK) != (white & RGB_MASK))
                bitmap.setPixel(x, y, kCellOn);
    bitmap_ = std::move(bitmap);
    saveDialog_->selectFile(fileName);
    ResizePicture();
}

void TPictureEditor::SavePicture(const QString& fileName) const
{
    if (!bitmap_.save(fileName, "BMP"))
        throw Exception(Format("Cannot save the bitmap %s", FromQString(fileName).c_str()));
}

void TPictureEditor::LoadButtonClick()
{
    if (openDialog_->exec() != QDialog::Accepted || openDialog_->selectedFiles().isEmpty())
        return;
    RunGuarded([&] { LoadPicture(openDialog_->selectedFiles().first()); });
}

void TPictureEditor::SaveButtonClick()
{
    if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty())
        return;
    RunGuarded([&] { SavePicture(saveDialog_->selectedFiles().first()); });
}

bool TPictureEditor::eventFilter(QObject* watched, QEvent* event)
{
    const bool sizeEdit = watched == widthEdit_ || watched == heightEdit_ || watched == animationsEdit_;
    if (sizeEdit && event->type() == QEvent::FocusOut)
        ResizePicture();
    if (sizeEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ResizePicture();
            return true;   // Enter only applies the size
        }
    }
    if (watched == picture_ && event->type() == QEvent::Paint) {
        PaintPicture();
        return true;
    }
    if (watched == picture_ && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        ToggleCell(at.x() / kCellSize, at.y() / kCellSize);
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

void TPictureEditor::PaintPicture()
{
    QPainter painter(picture_);
    const int frames = Frames();
    const int cellsWide = CellsWide();
    const int cellsHigh = CellsHigh();
    for (int f = 0; f < frames; ++f) {
        // Frames alternate colours so their borders show; the first is "odd".
        painter.fillRect(f * cellsWide * kCellSize, 0, cellsWide * kCellSize, cellsHigh * kCellSize,
                         f % 2 == 0 ? kOddFrameColour : kEvenFrameColour);
        for (int x = f * cellsWide; x < (f + 1) * cellsWide; ++x)
            for (int y = 0; y < cellsHigh; ++y)
                if (CellOn(x, y))
                    painter.fillRect(x * kCellSize, y * kCellSize, kCellSize, kCellSize, Qt::black);
    }
    painter.setPen(Qt::white);
    const int width = picture_->width();
    const int height = picture_->height();
    for (int y = 0; y <= height; y += kCellSize)
        painter.drawLine(0, y, width, y);
    for (int x = 0; x <= width; x += kCellSize)
        painter.drawLine(x, 0, x, height);
}
