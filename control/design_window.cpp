#include "control/design_window.h"

#include <QApplication>
#include <QPainter>

#include "control/library_bitmap.h"

TActiveXComponentControl* TActiveXComponentControl::Create()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    return new TActiveXComponentControl();
}

TActiveXComponentControl::TActiveXComponentControl()
{
    setFixedSize(kSide, kSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const std::string& bitmap = LibraryBitmap(kControlBitmapId);
    icon_.loadFromData(reinterpret_cast<const uchar*>(bitmap.data()), static_cast<int>(bitmap.size()), "BMP");
    hide();
}

void TActiveXComponentControl::ShowForDesign(bool designing)
{
    designing_ = designing;
    setVisible(designing);
    update();
}

void TActiveXComponentControl::SetParentWidget(void* parent)
{
    const bool visible = isVisible();
    setParent(static_cast<QWidget*>(parent));
    setVisible(visible);
}

void TActiveXComponentControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(QRect(1, 1, width() - 1, height() - 1), icon_);
}
