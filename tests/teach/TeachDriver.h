#pragma once

#include "engine/IWebBrowser.h"
#include "teach/TTeachForm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Drives the teach window the way a person does: mouse clicks and key presses delivered to the shown page
// and to the window's own fields. Scripts only read where things are on the page and what they hold.
class TeachDriver
{
public:
    explicit TeachDriver(TTeachForm* form)
        : m_form(form)
        , m_view(form->browserView())
    {
    }

    QWidget* pageWidget() const
    {
        QWidget* proxy = m_view->widget()->focusProxy();
        return proxy ? proxy : m_view->widget();
    }

    // Evaluates a script in the recorder's world and waits for its value.
    QVariant evaluate(const QString& script, int timeoutMs = 5000)
    {
        QVariant result;
        bool done = false;
        m_view->runScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        QElapsedTimer timer;
        timer.start();
        while (!done && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return result;
    }

    // The JavaScript expression of the window at `frames` (indexes from the top page down).
    static QString windowAt(const QList<int>& frames)
    {
        QString w = QStringLiteral("window");
        for (int i : frames)
            w += QStringLiteral(".frames[%1]").arg(i);
        return w;
    }

    // Waits until the document at `frames` holds an element for the selector and has finished loading.
    bool waitFor(const QList<int>& frames, const QString& selector, int timeoutMs = 15000)
    {
        const QString script = QStringLiteral("(function(){try{const w=%1;return w.document.readyState==='complete'"
                                              "&&!!w.document.querySelector(%2);}catch(e){return false;}})()")
                                   .arg(windowAt(frames), quoted(selector));
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (evaluate(script).toBool())
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // The middle of an element's box on the shown page, in the page widget's coordinates.
    QPoint pointOf(const QList<int>& frames, const QString& selector)
    {
        QJsonArray path;
        for (int i : frames)
            path.append(i);
        const QString script
            = QStringLiteral(R"((function(){
            let w = window, dx = 0, dy = 0;
            for (const i of %1) {
                const f = w.frames[i].frameElement, r = f.getBoundingClientRect();
                dx += r.left + f.clientLeft; dy += r.top + f.clientTop; w = w.frames[i];
            }
            const e = w.document.querySelector(%2);
            if (!e) return null;
            e.scrollIntoView({block: 'nearest'});
            const r = e.getBoundingClientRect();
            return [dx + r.left + r.width / 2, dy + r.top + r.height / 2];
        })())")
                  .arg(QString::fromUtf8(QJsonDocument(path).toJson(QJsonDocument::Compact)), quoted(selector));
        const QVariantList xy = evaluate(script).toList();
        if (xy.size() != 2)
            return QPoint(-1, -1);
        return QPoint(qRound(xy[0].toDouble()), qRound(xy[1].toDouble()));
    }

    // The points just inside the first and the last character of `text` where it first occurs on the page
    // at `frames`, for a selection made from one to the other.
    QPair<QPoint, QPoint> textEnds(const QList<int>& frames, const QString& text)
    {
        const QString script = QStringLiteral(R"((function(){
            const w = %1, d = w.document, needle = %2;
            const walker = d.createTreeWalker(d.body, NodeFilter.SHOW_TEXT);
            for (let n = walker.nextNode(); n; n = walker.nextNode()) {
                const at = n.data.indexOf(needle);
                if (at < 0) continue;
                const box = (from) => { const r = d.createRange(); r.setStart(n, from); r.setEnd(n, from + 1);
                                        return r.getBoundingClientRect(); };
                const first = box(at), last = box(at + needle.length - 1);
                const rtl = w.getComputedStyle(n.parentElement).direction === 'rtl';
                const y1 = first.top + first.height / 2, y2 = last.top + last.height / 2;
                return rtl ? [first.right - 1, y1, last.left + 1, y2] : [first.left + 1, y1, last.right - 1, y2];
            }
            return null;
        })())")
                                   .arg(windowAt(frames), quoted(text));
        const QVariantList v = evaluate(script).toList();
        if (v.size() != 4)
            return { QPoint(-1, -1), QPoint(-1, -1) };
        return { QPoint(qRound(v[0].toDouble()), qRound(v[1].toDouble())),
            QPoint(qRound(v[2].toDouble()), qRound(v[3].toDouble())) };
    }

    QString valueOf(const QList<int>& frames, const QString& selector)
    {
        return evaluate(
            QStringLiteral("(function(){const e=%1.document.querySelector(%2);return e?String(e.value):null;})()")
                .arg(windowAt(frames), quoted(selector)))
            .toString();
    }

    bool click(const QList<int>& frames, const QString& selector, Qt::KeyboardModifiers modifiers = {})
    {
        const QPoint at = pointOf(frames, selector);
        if (at.x() < 0)
            return false;
        QTest::mouseClick(pageWidget(), Qt::LeftButton, modifiers, at);
        return true;
    }

    // Clicks a field until it has the focus: the first click into a frame that has just loaded may only
    // focus the frame, as it does for a person.
    bool focusByClick(const QList<int>& frames, const QString& selector)
    {
        const QString focused = QStringLiteral("(function(){try{const d=%1.document;return d.hasFocus()&&"
                                               "d.activeElement===d.querySelector(%2);}catch(e){return false;}})()")
                                    .arg(windowAt(frames), quoted(selector));
        for (int attempt = 0; attempt < 4; ++attempt) {
            if (!click(frames, selector))
                return false;
            QTest::qWait(50);
            if (evaluate(focused).toBool())
                return true;
            QTest::qWait(150);
        }
        return false;
    }

    // Clicks into a field, selects what it holds and types the text over it key by key.
    bool type(const QList<int>& frames, const QString& selector, const QString& text)
    {
        if (!focusByClick(frames, selector))
            return false;
        QTest::keyClick(pageWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pageWidget(), text);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            if (valueOf(frames, selector) == text)
                return true;
            QTest::qWait(30);
        }
        qWarning("%s holds \"%s\" after typing \"%s\"", qPrintable(selector), qPrintable(valueOf(frames, selector)),
            qPrintable(text));
        return false;
    }

    // Chooses the option of a list that starts with `text`: the field after the list is clicked, Shift+Tab
    // moves back to the list and typing picks the option, as a person using the keyboard does.
    bool choose(const QList<int>& frames, const QString& fieldAfter, const QString& list, const QString& text)
    {
        if (!click(frames, fieldAfter))
            return false;
        QTest::qWait(50);
        QTest::keyClick(pageWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::qWait(50);
        QTest::keyClicks(pageWidget(), text);
        QElapsedTimer timer;
        timer.start();
        const QString script
            = QStringLiteral("(function(){const e=%1.document.querySelector(%2);return e&&e.selectedIndex>=0?"
                             "e.options[e.selectedIndex].text:null;})()")
                  .arg(windowAt(frames), quoted(list));
        while (timer.elapsed() < 5000) {
            if (evaluate(script).toString() == text)
                return true;
            QTest::qWait(30);
        }
        return false;
    }

    // Marks the text with the mouse: a click before its first character and a Shift+click after its last.
    bool mark(const QList<int>& frames, const QString& text)
    {
        const auto [from, to] = textEnds(frames, text);
        if (from.x() < 0)
            return false;
        QTest::mouseClick(pageWidget(), Qt::LeftButton, {}, from);
        QTest::qWait(50);
        QTest::mouseClick(pageWidget(), Qt::LeftButton, Qt::ShiftModifier, to);
        QTest::qWait(100);
        return true;
    }

    // Types into one of the window's own fields.
    void typeInto(const QString& objectName, const QString& text)
    {
        auto* edit = m_form->findChild<QLineEdit*>(objectName);
        QVERIFY2(edit, qPrintable(objectName));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // QTest only knows the keys of a Latin keyboard; a Hebrew letter is a key event carrying its text.
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(edit, &press);
                QCoreApplication::sendEvent(edit, &release);
            }
        }
    }

    void press(const QString& objectName)
    {
        auto* button = m_form->findChild<QPushButton*>(objectName);
        QVERIFY2(button, qPrintable(objectName));
        QVERIFY2(button->isEnabled(), qPrintable(objectName + QStringLiteral(" is disabled")));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void openAddress(const QString& address)
    {
        typeInto(QStringLiteral("AddressEdit"), address);
        QTest::keyClick(m_form->findChild<QLineEdit*>(QStringLiteral("AddressEdit")), Qt::Key_Return);
    }

private:
    static QString quoted(const QString& text)
    {
        return QString::fromUtf8(QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    }

    TTeachForm* m_form;
    IBrowserView* m_view;
};
