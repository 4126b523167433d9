#include "widgets/AccessibleSwatch.h"

#include "widgets/Swatch.h"

AccessibleSwatch::AccessibleSwatch(Swatch *swatch) : AccessiblePicture(swatch, QAccessible::ListItem) {}

QAccessible::Role AccessibleSwatch::role() const
{
    return QAccessible::ListItem;
}

QAccessible::State AccessibleSwatch::state() const
{
    QAccessible::State state = AccessiblePicture::state();
    state.selectable = true;
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
