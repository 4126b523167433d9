// SPDX-License-Identifier: MIT
#include "widgets/AccessibleSwatch.h"

#include "platform/ScreenColour.h"
#include "widgets/Swatch.h"

#include "colour/ColourWords.h"

#include <QCoreApplication>

AccessibleSwatch::AccessibleSwatch(Swatch *swatch) : AccessiblePicture(swatch, QAccessible::ListItem) {}

QAccessibleInterface *AccessibleSwatch::parent() const
{
    const auto *swatch = static_cast<const Swatch *>(widget());
    if (swatch->list())
        return QAccessible::queryAccessibleInterface(swatch->list());
    return AccessiblePicture::parent();
}

QAccessible::Role AccessibleSwatch::role() const
{
    return QAccessible::ListItem;
}

QString AccessibleSwatch::text(QAccessible::Text t) const
{
    const auto *swatch = static_cast<const Swatch *>(widget());
    if (t == QAccessible::Name && swatch->accessibleName().isEmpty() && swatch->row() > 0) {
        return QCoreApplication::translate("Swatch", "%1, %2, page %3, row %4 of %5")
            .arg(swatch->toolTip(), ColourWords::of(swatch->backColor().rgb()), QString::number(swatch->page()),
                 QString::number(swatch->row()), QString::number(swatch->rowCount()));
    }
    if (t == QAccessible::Description && !swatch->isUnknown() && swatch->accessibleDescription().isEmpty()) {
        // A colour this screen cannot show is said to be off, by how much.
        const QString off = ScreenColour::offByText(swatch->backColor());
        if (!off.isEmpty())
            return AccessiblePicture::text(t) + QStringLiteral("; ") + off;
    }
    return AccessiblePicture::text(t);
}

QAccessible::State AccessibleSwatch::state() const
{
    QAccessible::State state = AccessiblePicture::state();
    state.selectable = true;
    const auto *swatch = static_cast<const Swatch *>(widget());
    if (swatch->list()) {
        state.focusable = true;
        state.selected = swatch->isFramed();
        state.focused = swatch->isFramed() && swatch->list()->hasFocus();
    }
    return state;
}

QStringList AccessibleSwatch::actionNames() const
{
    QStringList names = AccessiblePicture::actionNames();
    // Only where a click could reach it.
    if (widget()->isVisible() && widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void AccessibleSwatch::doAction(const QString &actionName)
{
    if (actionName == pressAction()) {
        if (widget()->isVisible() && widget()->isEnabled())
            static_cast<Swatch *>(widget())->click();
        return;
    }
    AccessiblePicture::doAction(actionName);
}
