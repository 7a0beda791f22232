#include "MessageBoxPrompt.h"

#include "common/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

namespace {
int showBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton escape)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons, QApplication::activeWindow());
    // The texts come from the service and from errors: shown as written, so that no markup and no link (a
    // file: address, say) is put before the user, let alone opened by a click.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setLayoutDirection(Qt::RightToLeft);
    box.setEscapeButton(escape);
    return box.exec();
}
} // namespace

void MessageBoxPrompt::information(const QString& text)
{
    showBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompt::question(const QString& text)
{
    return showBox(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxPrompt::installForDesktop()
{
    static MessageBoxPrompt prompt;
    UserPrompt::install(&prompt);
    ErrorReport::setHandler(
        [](const QString& text) { showBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok); });
}
