// SPDX-License-Identifier: MIT
#include "widgets/AccessiblePicture.h"

#include "widgets/AccessibleSwatch.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"

namespace {

// The property that marks a widget left out of the accessibility tree.
const char leftOut[] = "tesselleLeftOut";

QAccessibleInterface *accessiblePicture(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("Swatch"))
        return new AccessibleSwatch(static_cast<Swatch *>(object));
    if (className == QLatin1String("PictureBox"))
        return new AccessiblePicture(static_cast<PictureBox *>(object));
    return nullptr;
}

} // namespace

AccessiblePicture::AccessiblePicture(PictureBox *box, QAccessible::Role role)
    : QAccessibleWidget(box, role)
{
}

void AccessiblePicture::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessiblePicture);
        return true;
    }();
    Q_UNUSED(installed);
}

QString AccessiblePicture::colourText(const QColor &colour)
{
    return QStringLiteral("%1, rgb(%2, %3, %4)")
        .arg(colour.name(QColor::HexRgb))
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue());
}

PictureBox *AccessiblePicture::box() const
{
    return static_cast<PictureBox *>(widget());
}

QAccessible::Role AccessiblePicture::role() const
{
    return box()->hasPicture() ? QAccessible::Pane : QAccessibleWidget::role();
}

QString AccessiblePicture::text(QAccessible::Text t) const
{
    // A colour box's tooltip (a swatch's code) is in its name already: its
    // description is its colour.
    if (t == QAccessible::Description && !box()->hasPicture() && box()->accessibleDescription().isEmpty())
        return box()->isUnknown() ? QStringLiteral("unknown colour") : colourText(box()->backColor());
    return QAccessibleWidget::text(t);
}

void AccessiblePicture::leaveOut(QWidget *child)
{
    child->setProperty(leftOut, true);
}

QList<QWidget *> AccessiblePicture::children() const
{
    // As Qt lists them: child widgets that are no windows of their own.
    QList<QWidget *> widgets;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !child->property(leftOut).toBool())
            widgets.append(child);
    }
    return widgets;
}

int AccessiblePicture::childCount() const
{
    return int(children().size());
}

QAccessibleInterface *AccessiblePicture::child(int index) const
{
    const QList<QWidget *> widgets = children();
    return index >= 0 && index < widgets.size() ? QAccessible::queryAccessibleInterface(widgets.at(index)) : nullptr;
}

int AccessiblePicture::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || !child->object() || !child->object()->isWidgetType())
        return -1;
    return int(children().indexOf(static_cast<QWidget *>(child->object())));
}
