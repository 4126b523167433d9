#include "WindowDriver.h"

#include "app/Form1.h"
#include "widgets/MovieControl.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace WindowDriver {

bool showReady(Form1 &form)
{
    qobject_cast<QWidget *>(form.control(QStringLiteral("intro_swf")))->hide();
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowExposed(&form) && QTest::qWaitForWindowActive(&form);
}

QWidget *focus()
{
    return QApplication::focusWidget();
}

void key(int qtKey, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = focus();
    if (!target)
        qFatal("no widget has the focus");
    QTest::keyClick(target, Qt::Key(qtKey), modifiers);
}

void type(const QString &text)
{
    for (QChar c : text) {
        QWidget *target = focus();
        if (!target)
            qFatal("no widget has the focus");
        QTest::keyClick(target, c.toLatin1());
    }
}

void clickThroughWindow(QWidget *widget, QPoint at)
{
    QWidget *top = widget->window();
    const QPoint inWindow = widget->mapTo(top, at);
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
}

} // namespace WindowDriver
