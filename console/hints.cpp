#include "console/hints.h"

#include <QWidget>

namespace {

constexpr QChar kHintSeparator = u'|';

}  // namespace

QString GetShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(kHintSeparator);
    return bar < 0 ? hint : hint.left(bar);
}

QString GetLongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(kHintSeparator);
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint)
{
    widget->setToolTip(GetShortHint(hint));
    widget->setStatusTip(GetLongHint(hint));
}
