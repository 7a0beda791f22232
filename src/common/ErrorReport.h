#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

// An error that carries the message shown to the user.
class ZelkoraError : public std::runtime_error
{
public:
    explicit ZelkoraError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The application's general error handler: an error that nobody caught ends here. The desktop program
// shows it in a message box; without a window it goes to the standard error stream.
namespace ErrorReport {
using Handler = std::function<void(const QString& text)>;

// The text as the user sees it: a "." is appended when its last character sorts after ".".
QString displayText(const QString& message);
// An error's message for the user: a ZelkoraError's own text, any other error's description.
QString textOf(const std::exception& error);
void report(const QString& message);
// Installs the handler and returns the previous one.
Handler setHandler(Handler handler);
} // namespace ErrorReport
