#include "ControlAccessibility.h"

#include "TImgButton.h"
#include "TImgLed.h"
#include "TListLabel.h"
#include "TURLLabel.h"

#include <QAccessibleWidget>
#include <QTextDocumentFragment>

namespace {

QString plain(const QString& text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText().trimmed() : text;
}

class ImgButtonAccessible : public QAccessibleWidget
{
public:
    explicit ImgButtonAccessible(TImgButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const QWidget* button = widget();
        switch (t) {
        case QAccessible::Name:
            return button->accessibleName().isEmpty() ? plain(button->toolTip()) : button->accessibleName();
        case QAccessible::Description:
            return plain(button->accessibleDescription());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = static_cast<const TImgButton*>(widget())->isDown();
        state.hasPopup = static_cast<const TImgButton*>(widget())->opensMenu();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names { pressAction() };
        if (static_cast<const TImgButton*>(widget())->opensMenu())
            names << showMenuAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        auto* button = static_cast<TImgButton*>(widget());
        if (!button->isEnabled())
            return;
        // After the reader's call has returned: what the press opens may be modal, and the reader would wait
        // for its answer until it closed.
        if (action == pressAction())
            QMetaObject::invokeMethod(button, &TImgButton::click, Qt::QueuedConnection);
        else if (action == showMenuAction())
            QMetaObject::invokeMethod(button, &TImgButton::menuRequested, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(action);
    }
};

class LedAccessible : public QAccessibleWidget
{
public:
    explicit LedAccessible(TImgLed* led)
        : QAccessibleWidget(led, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString state = static_cast<const TImgLed*>(widget())->stateName();
            return state.isEmpty() ? widget()->accessibleName() : state;
        }
        if (t == QAccessible::Description)
            return plain(widget()->accessibleDescription());
        return QAccessibleWidget::text(t);
    }
};

class ListLabelAccessible : public QAccessibleWidget
{
public:
    explicit ListLabelAccessible(TListLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    // With no recipient chosen there is nothing to read: the label "To:" beside it says what goes there.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (static_cast<const TListLabel*>(widget())->accessibleText().isEmpty())
            state.invisible = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const TListLabel*>(widget());
        switch (t) {
        case QAccessible::Name: {
            // No recipient chosen yet: the label that names it ("To:").
            const QString name = label->accessibleText();
            return name.isEmpty() ? QAccessibleWidget::text(t) : name;
        }
        case QAccessible::Description:
            return label->isList() ? label->recipientNames() : plain(label->accessibleDescription());
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

class UrlLabelAccessible : public QAccessibleWidget
{
public:
    explicit UrlLabelAccessible(TURLLabel* label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const TURLLabel*>(widget());
        switch (t) {
        case QAccessible::Name:
            return label->accessibleName().isEmpty() ? plain(label->text()) : label->accessibleName();
        case QAccessible::Description:
            return label->url();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    // An empty link (no sign-up page) is nothing to read.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (text(QAccessible::Name).isEmpty())
            state.invisible = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            QMetaObject::invokeMethod(
                widget(), [label = static_cast<TURLLabel*>(widget())] { label->openUrl(); }, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(action);
    }
};

// Qt asks for every object that raises an accessibility event, also while it is being built or destroyed
// (the browser view's items do so from their constructors). The class name Qt passes comes from the object's
// current type, so only the name is looked at until it names one of the controls below: once it does, the
// object is one of them for the whole of this call, and nothing is called on any other object.
QAccessibleInterface* controlInterface(const QString& className, QObject* object)
{
    if (!object)
        return nullptr;
    if (className == QLatin1String("TImgButton"))
        return new ImgButtonAccessible(static_cast<TImgButton*>(object));
    if (className == QLatin1String("TImgLed"))
        return new LedAccessible(static_cast<TImgLed*>(object));
    if (className == QLatin1String("TListLabel"))
        return new ListLabelAccessible(static_cast<TListLabel*>(object));
    if (className == QLatin1String("TURLLabel"))
        return new UrlLabelAccessible(static_cast<TURLLabel*>(object));
    return nullptr;
}
} // namespace

void ControlAccessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
