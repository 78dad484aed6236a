#include "console/qt_text.h"

#include "platform/sys/code_page.h"

QString ToQString(std::string_view text)
{
    const std::u16string wide = WidenCP1252(text);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

std::string FromQString(const QString& text)
{
    return NarrowCP1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<size_t>(text.size())));
}
