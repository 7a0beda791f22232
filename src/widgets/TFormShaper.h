#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <memory>

class QBuffer;
class QIODevice;

// Cuts a window (or any widget) to an outline stored with the window description. The outline is kept
// as region data (see FormShapeData) and applied as the widget's mask while the shaper is active.
class TFormShaper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ active WRITE setActive)
    Q_PROPERTY(QWidget* ControlToShape READ controlToShape WRITE setControlToShape)
    Q_PROPERTY(QByteArray FormShape READ formShape WRITE setFormShape)

public:
    // The owner is shaped when no ControlToShape is set, provided it is a widget.
    explicit TFormShaper(QObject* owner = nullptr);

    bool active() const { return m_active; }
    // Activating needs outline data and a target; without either nothing happens and Active stays false.
    void setActive(bool active);

    QWidget* controlToShape() const { return m_control; }
    // Deactivates first when active. A shaped control that is destroyed leaves the shaper inactive
    // with no ControlToShape.
    void setControlToShape(QWidget* control);
    // The widget that activating shapes: ControlToShape, else the owner when that is a widget.
    QWidget* target() const;

    // A new stream holding the stored form, owned by the caller (empty for an empty shape).
    std::unique_ptr<QBuffer> shape() const;
    // Loads the stored form from a stream. An exhausted stream clears the shape; malformed data also
    // clears it and gives false. An active shaper re-applies the new outline at once.
    bool setShape(QIODevice& stream);

    // The stored form as bytes, and loading from bytes (same rules as the streams).
    QByteArray formShape() const;
    bool setFormShape(const QByteArray& stored);

    // The region data without the length prefix.
    QByteArray regionData() const { return m_data; }
    bool setRegionData(const QByteArray& data);
    QRegion region() const;

    // Removes the target's outline and forgets the data; the shaper becomes inactive.
    void clearShape();

private:
    void activate();
    void deactivate();
    void controlDestroyed();

    QByteArray m_data;
    bool m_active = false;
    QPointer<QWidget> m_control;
    // The widget the current outline was given to, so that deactivating touches that one only.
    QPointer<QWidget> m_shaped;
    QMetaObject::Connection m_destroyedConnection;
};
