#pragma once
#include <QString>

class QWidget;

// A hint has a short part for the tool tip and a long part for the status bar, separated by
// "|"; a hint without "|" is both.
QString GetShortHint(const QString& hint);
QString GetLongHint(const QString& hint);

// Gives a widget its hint: the short part becomes its tool tip, the long part its status tip.
void SetHint(QWidget* widget, const QString& hint);
