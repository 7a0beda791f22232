// The banner space: the window's side of the banner rotation.

#include "TMsgForm.h"

#include <QLabel>
#include <QPixmap>

void TMsgForm::displayBanner(const QImage& picture)
{
    m_ui.bannerImage->setPixmap(QPixmap::fromImage(picture));
    m_ui.bannerImage->update();
}
