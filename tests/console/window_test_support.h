#pragma once
// Helpers of the window and editor tests.
#include <QDir>
#include <QString>
#include <QWidget>
#include <ostream>

// Failures show texts, not bytes.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Screenshots are kept with the build for a person to look at.
inline void SaveScreenshot(QWidget& widget, const char* name)
{
    QDir().mkpath(SCREENSHOT_DIR);
    widget.grab().save(QString(SCREENSHOT_DIR) + "/" + name + ".png");
}
