#pragma once

#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QStringList>

// The recipient label. It shows one name, or stands for a whole recipient list: in list mode its caption
// is ListCaption and, while the mouse is over it, a hint window lists the names of List.
class TListLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QStringList List READ list WRITE setList)
    Q_PROPERTY(QString ListCaption READ listCaption WRITE setListCaption)
    Q_PROPERTY(QColor ListColor READ listColor WRITE setListColor)
    Q_PROPERTY(bool IsList READ isList WRITE setIsList)
    Q_PROPERTY(bool ShowHint READ showHint WRITE setShowHint)

public:
    explicit TListLabel(QWidget* parent = nullptr);

    // One line per recipient, "name=area-phone".
    QStringList list() const { return m_list; }
    void setList(const QStringList& list) { m_list = list; }
    void clearList() { m_list.clear(); }

    QString listCaption() const { return m_listCaption; }
    void setListCaption(const QString& caption) { m_listCaption = caption; }
    // The font colour while the mouse is over the label in list mode.
    QColor listColor() const { return m_listColor; }
    void setListColor(const QColor& colour) { m_listColor = colour; }

    // True exactly when the caption is the (non-empty) list caption, so clearing the caption ends list
    // mode without touching List.
    bool isList() const;
    // Entering saves the caption and shows the list caption; leaving puts the saved caption back. Asking
    // for the mode the label is already in changes nothing.
    void setIsList(bool list);

    // Whether the label's own tool tip is shown; entering the label in list mode switches it off, since
    // the list hint takes its place.
    bool showHint() const { return m_showHint; }
    void setShowHint(bool show) { m_showHint = show; }

    // What a screen reader reads: the accessible name when one is set, else the recipient shown, or in list
    // mode the caption without its angle brackets; and in list mode the names, separated by commas.
    QString accessibleText() const;
    QString recipientNames() const;

    // The hint's text: the names (the part of each line before its first "=") joined by CR LF.
    static QString hintText(const QStringList& list);
    // The hint window while it is shown, else null.
    QWidget* hintWindow() const { return m_hint; }

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showListHint();
    void hideListHint();

    QStringList m_list;
    QString m_listCaption = QStringLiteral("<LIST>");
    QColor m_listColor = Qt::blue;
    QString m_savedCaption;
    QColor m_savedColour;
    bool m_colourSaved = false;
    bool m_showHint = true;
    QPointer<QLabel> m_hint;
};
