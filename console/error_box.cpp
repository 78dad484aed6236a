#include "console/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <mutex>

#include "console/qt_text.h"

namespace {

std::mutex handlerLock;
TErrorBoxHandler& Handler()
{
    static TErrorBoxHandler handler;  // guarded by handlerLock
    return handler;
}


}  // namespace

void ShowErrorBox(const std::string& message)
{
    TErrorBoxHandler handler;
    {
        std::lock_guard guard(handlerLock);
        handler = Handler();
    }
    if (handler) {
        handler(message);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), ToQString(message));
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

TErrorBoxHandler SetErrorBoxHandler(TErrorBoxHandler handler)
{
    std::lock_guard guard(handlerLock);
    std::swap(Handler(), handler);
    return handler;
}

void RunGuarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
}
