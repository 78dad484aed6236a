#include "console/lamp_images.h"

#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <array>

namespace {

constexpr int kLampSize = 16;

struct TLampLook {
    QColor centre;
    QColor rim;
};

// In image order.
const std::array<TLampLook, liCount> kLampLooks = {{
    {QColor(200, 200, 200), QColor(110, 110, 110)},   // grey
    {QColor(150, 70, 70), QColor(90, 30, 30)},        // dim red
    {QColor(255, 90, 90), QColor(190, 0, 0)},         // red
    {QColor(80, 150, 80), QColor(30, 90, 30)},        // dim green
    {QColor(110, 255, 110), QColor(0, 170, 0)},       // green
    {QColor(160, 150, 70), QColor(100, 90, 20)},      // dim yellow
    {QColor(255, 255, 120), QColor(210, 180, 0)},     // yellow
}};

QPixmap DrawLamp(const TLampLook& look)
{
    QPixmap pixmap(kLampSize, kLampSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient light(QPointF(6, 6), 9);
    light.setColorAt(0, look.centre);
    light.setColorAt(1, look.rim);
    painter.setBrush(light);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.drawEllipse(QRectF(1.5, 1.5, kLampSize - 3, kLampSize - 3));
    return pixmap;
}

}  // namespace

int GlyphIndex(int base, bool lit)
{
    return base > lcGrey && lit ? base + 1 : base;
}

QIcon LampIcon(int image)
{
    const QPixmap pixmap = DrawLamp(kLampLooks.at(image));
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Disabled);
    return icon;
}
