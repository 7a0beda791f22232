#include "ErrorReport.h"

#include <cstdio>

namespace {
ErrorReport::Handler& currentHandler()
{
    static ErrorReport::Handler handler;
    return handler;
}
} // namespace

QString ErrorReport::displayText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ErrorReport::report(const QString& message)
{
    const QString text = displayText(message);
    if (currentHandler()) {
        currentHandler()(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

ErrorReport::Handler ErrorReport::setHandler(Handler handler)
{
    Handler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

QString ErrorReport::textOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const ZelkoraError*>(&error))
        return own->message();
    return QString::fromLocal8Bit(error.what());
}
