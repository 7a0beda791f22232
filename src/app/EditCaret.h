#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QVector>

class QProxyStyle;
class QWidget;

// The caret of the main window's text fields: a block as wide as "_" and as high as "|" in a chosen
// font, combined with what lies under it by exclusive-or, so the character under it stays readable.
// The fields' own thin caret is switched off while they are attached. Attached fields show the block
// while they have the focus, blinking at the desktop's rate; detaching gives a field its own caret back.
// Single-line edits (QLineEdit) and plain-text edits (QPlainTextEdit) can be attached.
class EditCaret : public QObject
{
    Q_OBJECT
public:
    explicit EditCaret(QObject* parent = nullptr);
    ~EditCaret() override;

    // The caret bitmap: its size and the colour it is filled with.
    void setBitmap(const QSize& size, const QColor& color);
    QSize size() const { return m_size; }
    QColor color() const { return m_color; }
    // The size of the block for a font: the width of "_" and the height of "|".
    static QSize sizeFor(const QFont& font);

    bool attach(QWidget* field);
    void detach(QWidget* field);
    void detachAll();
    bool isAttached(const QWidget* field) const;

    // The attached field that holds the caret now (it has the focus), or null.
    QWidget* activeField() const { return m_active; }
    // Where the block is drawn, in the coordinates of the widget that paints the field's text (the
    // viewport of a plain-text edit); empty when the field has no caret position.
    QRect caretRect(const QWidget* field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Attached
    {
        QPointer<QWidget> field;
        QPointer<QWidget> paintTarget;
        int previousCursorWidth = -1; // plain-text edits only
    };

    const Attached* find(const QObject* object) const;
    void restore(const Attached& entry);
    void focusIn(QWidget* field);
    void focusOut(QWidget* field);
    void blink();
    void moved(QWidget* field);
    void repaint(QWidget* field);
    void paintBlock(const Attached& entry);

    QVector<Attached> m_fields;
    QSize m_size;
    QColor m_color;
    QPointer<QWidget> m_active;
    QTimer m_blinkTimer;
    bool m_blinkOn = false;
    bool m_inPaint = false;
    QProxyStyle* m_noCaretStyle;
};
