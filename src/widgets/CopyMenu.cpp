// SPDX-License-Identifier: MIT
#include "widgets/CopyMenu.h"

#include "colour/ColourSpace.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>

#include <functional>

namespace {

// Two decimals, without the sign of a value that rounds to zero: a grey's
// a* and b* are 0.00, never -0.00.
QString twoDecimals(double value)
{
    const QString text = QString::number(value, 'f', 2);
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

} // namespace

namespace CopyMenu {

QList<Copied> textsOf(const QString &code, const std::optional<QColor> &colour)
{
    QList<Copied> texts = {{code, QStringLiteral("code")}};
    if (!colour)
        return texts;
    const QColor c = *colour;
    const Lab lab = ColourSpace::labFromRgb(c.rgb());
    texts.append({c.name(QColor::HexRgb), QStringLiteral("hex value")});
    texts.append({QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()), QStringLiteral("CSS rgb()")});
    texts.append({QStringLiteral("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue()), QStringLiteral("R G B")});
    // CSS Color 4's lab(), which design tools read as CIE L*a*b*.
    texts.append({QStringLiteral("lab(%1% %2 %3)").arg(twoDecimals(lab.l), twoDecimals(lab.a), twoDecimals(lab.b)),
                  QStringLiteral("CIE L*a*b*")});
    return texts;
}

void fill(QMenu *menu, const QString &code, const std::optional<QColor> &colour,
          const std::function<void(const Copied &)> &copied)
{
    for (const Copied &c : textsOf(code, colour)) {
        QAction *action = menu->addAction(QStringLiteral("Copy %1").arg(c.text));
        action->setToolTip(c.what);
        QObject::connect(action, &QAction::triggered, menu, [c, copied] {
            toClipboard(c.text);
            if (copied)
                copied(c);
        });
    }
}

QMenu *start(const QString &code, const std::optional<QColor> &colour,
             const std::function<void(const QString &said)> &copied)
{
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!code.isEmpty()) {
        fill(menu, code, colour, [copied](const Copied &c) {
            copied(QCoreApplication::translate("CopyMenu", "Copied %1").arg(c.text));
        });
        menu->addSeparator();
    }
    return menu;
}

void addKeyed(QMenu *menu, const QString &text, const QKeySequence &key, const std::function<void()> &action)
{
    QAction *entry = menu->addAction(text);
    entry->setShortcut(key);
    QObject::connect(entry, &QAction::triggered, menu, action);
}

void popup(QMenu *menu, const QPoint &globalPos, bool byKeyboard)
{
    menu->popup(globalPos);
    if (!byKeyboard)
        return;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            menu->setActiveAction(action);
            return;
        }
    }
}

void toClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

} // namespace CopyMenu
