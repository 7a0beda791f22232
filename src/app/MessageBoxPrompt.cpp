#include "MessageBoxPrompt.h"

#include "common/ErrorReport.h"
#include "common/InterfaceDirection.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {
int showBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton escape)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons, QApplication::activeWindow());
    // The texts come from the service and from errors: shown as written, so that no markup and no link (a
    // file: address, say) is put before the user, let alone opened by a click.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setLayoutDirection(interfaceDirection());
    // The buttons speak the interface's language too, not the toolkit's.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        { QMessageBox::Ok, QT_TRANSLATE_NOOP("MessageBoxPrompt", "אישור") },
        { QMessageBox::Yes, QT_TRANSLATE_NOOP("MessageBoxPrompt", "כן") },
        { QMessageBox::No, QT_TRANSLATE_NOOP("MessageBoxPrompt", "לא") },
    };
    for (const auto& [which, caption] : captions) {
        if (QAbstractButton* button = box.button(which))
            button->setText(QCoreApplication::translate("MessageBoxPrompt", caption));
    }
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
