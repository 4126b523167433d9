// SPDX-License-Identifier: MIT
#include "widgets/AccessiblePicture.h"

#include "widgets/AccessibleSwatch.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"

namespace {

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
