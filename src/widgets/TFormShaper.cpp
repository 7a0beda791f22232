#include "TFormShaper.h"

#include "FormShapeData.h"

#include <QBuffer>

TFormShaper::TFormShaper(QObject* owner)
    : QObject(owner)
{
}

QWidget* TFormShaper::target() const
{
    if (m_control)
        return m_control;
    return qobject_cast<QWidget*>(parent());
}

void TFormShaper::setActive(bool active)
{
    if (active)
        activate();
    else
        deactivate();
}

void TFormShaper::activate()
{
    QWidget* widget = target();
    if (!widget || m_data.isEmpty() || m_active)
        return;
    m_active = true;
    m_shaped = widget;
    widget->setMask(region());
}

void TFormShaper::deactivate()
{
    // Only an outline this shaper gave is removed: a window carries two shapers (one per pixel density)
    // and switching the idle one off must not strip the other's outline.
    if (!m_active)
        return;
    if (m_shaped)
        m_shaped->clearMask();
    m_shaped = nullptr;
    m_active = false;
}

void TFormShaper::setControlToShape(QWidget* control)
{
    if (control == m_control)
        return;
    deactivate();
    disconnect(m_destroyedConnection);
    m_control = control;
    if (control)
        m_destroyedConnection = connect(control, &QObject::destroyed, this, &TFormShaper::controlDestroyed);
}

void TFormShaper::controlDestroyed()
{
    m_control = nullptr;
    m_shaped = nullptr;
    m_active = false;
}

std::unique_ptr<QBuffer> TFormShaper::shape() const
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(FormShapeData::stored(m_data));
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

bool TFormShaper::setShape(QIODevice& stream)
{
    QByteArray data;
    const bool ok = FormShapeData::read(stream, &data);
    if (!ok || data.isEmpty()) {
        clearShape();
        return ok;
    }
    return setRegionData(data);
}

QByteArray TFormShaper::formShape() const
{
    return FormShapeData::stored(m_data);
}

bool TFormShaper::setFormShape(const QByteArray& stored)
{
    QBuffer buffer;
    buffer.setData(stored);
    buffer.open(QIODevice::ReadOnly);
    return setShape(buffer);
}

bool TFormShaper::setRegionData(const QByteArray& data)
{
    if (data.isEmpty() || !FormShapeData::parse(data, nullptr)) {
        clearShape();
        return data.isEmpty();
    }
    m_data = data;
    if (m_active && m_shaped)
        m_shaped->setMask(region());
    return true;
}

QRegion TFormShaper::region() const
{
    return FormShapeData::toRegion(m_data);
}

void TFormShaper::clearShape()
{
    deactivate();
    m_data.clear();
}
