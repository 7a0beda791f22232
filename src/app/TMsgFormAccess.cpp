// The area-code menu from the keyboard (the descriptions for screen readers are HandsetAccess's).

#include "TMsgForm.h"

#include "widgets/TImgButton.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

bool TMsgForm::areaMenuKey(QObject* watched, QEvent* event)
{
    if (watched != m_ui.areaCodeEdit || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
        openAreaMenuFromKeyboard();
        return true;
    }
    return false;
}

void TMsgForm::openAreaMenuFromKeyboard()
{
    // Under the button, with its first item selected so that the arrows and Return work at once.
    if (!m_ui.areaMenuButton->isEnabled())
        return;
    if (!m_ui.areaMenu->actions().isEmpty())
        m_ui.areaMenu->setActiveAction(m_ui.areaMenu->actions().constFirst());
    areaMenuPressed(QPoint(0, m_ui.areaMenuButton->height()));
}

