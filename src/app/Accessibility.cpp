// SPDX-License-Identifier: MIT
#include "app/Form1.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/AccessiblePicture.h"
#include "widgets/Notice.h"
#include "widgets/SpokenOutcome.h"
#include "widgets/TextBox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QWidget>

namespace {

// The window is a window to a screen reader, not a plain area.
QAccessibleInterface *accessibleWindow(const QString &className, QObject *object)
{
    if (className == QLatin1String("Form1") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// What a screen reader calls each control whose own text does not say it.
// The swatches are named by the card panel as each page loads.
struct Name
{
    const char *control;
    const char *name;
    const char *description;
};
const Name names[] = {
    {"intro_swf", QT_TRANSLATE_NOOP("Form1", "Introduction"), nullptr},
    {"palettac", QT_TRANSLATE_NOOP("Form1", "Palette"), nullptr},
    {"tart_pb(0)", QT_TRANSLATE_NOOP("Form1", "Card"), nullptr},
    {"tart_pb(1)", QT_TRANSLATE_NOOP("Form1", "Collection"), nullptr},
    {"pageselect", QT_TRANSLATE_NOOP("Form1", "Selection frame"), nullptr},
    {"pagecs", QT_TRANSLATE_NOOP("Form1", "Selected colour"), nullptr},
    {"pagen_text", QT_TRANSLATE_NOOP("Form1", "Page number"), nullptr},
    {"findcode_txt1", QT_TRANSLATE_NOOP("Form1", "Code, first group"), nullptr},
    {"findcode_txt2", QT_TRANSLATE_NOOP("Form1", "Code, second group"), nullptr},
    {"findcode_txt3", QT_TRANSLATE_NOOP("Form1", "Code, third group"), nullptr},
    {"next_swf", QT_TRANSLATE_NOOP("Form1", "Next page"), nullptr},
    {"previous_swf", QT_TRANSLATE_NOOP("Form1", "Previous page"), nullptr},
    {"addtobaby_swf", QT_TRANSLATE_NOOP("Form1", "Add to collection"), nullptr},
    {"baby_color", QT_TRANSLATE_NOOP("Form1", "Collection colour"), nullptr},
    {"baby_code", QT_TRANSLATE_NOOP("Form1", "Entry code"), nullptr},
    {"baby_num", QT_TRANSLATE_NOOP("Form1", "Entry number"), nullptr},
    {"baby_nummax", nullptr, QT_TRANSLATE_NOOP("Form1", "Number of entries")},
    {"nextb_swf", QT_TRANSLATE_NOOP("Form1", "Next entry"), nullptr},
    {"previousb_swf", QT_TRANSLATE_NOOP("Form1", "Previous entry"), nullptr},
    {"deleteb_swf", QT_TRANSLATE_NOOP("Form1", "Delete entry"), nullptr},
};

// Captions that label a box: a screen reader reads the caption with it.
struct Buddy
{
    const char *label;
    const char *box;
};
const Buddy buddies[] = {
    {"e_label(1)", "pagen_text"},
    {"e_label(2)", "findcode_txt1"},
};

} // namespace

void Form1::setUpAccessibility()
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleWindow);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    for (const Name &n : names) {
        auto *widget = qobject_cast<QWidget *>(control(QLatin1String(n.control)));
        if (n.name)
            widget->setAccessibleName(tr(n.name));
        if (n.description)
            widget->setAccessibleDescription(tr(n.description));
    }
    for (const Buddy &b : buddies) {
        qobject_cast<QLabel *>(control(QLatin1String(b.label)))
            ->setBuddy(qobject_cast<QWidget *>(control(QLatin1String(b.box))));
    }
    // The panel keys and Find act from the text boxes too, typing nothing.
    const QList<QKeySequence> windowKeys = {QKeySequence(Qt::ControlModifier | Qt::Key_1),
                                            QKeySequence(Qt::ControlModifier | Qt::Key_2),
                                            QKeySequence(QKeySequence::Find)};
    for (TextBox *box : findChildren<TextBox *>())
        box->setWindowKeys(windowKeys);
    // The markers beside the swatches are never shown.
    for (int i = 1; i <= 7; ++i)
        AccessiblePicture::leaveOut(qobject_cast<QWidget *>(control(QStringLiteral("lab_dlt(%1)").arg(i))));
    notePalettePages();
    connect(m_card, &CardPanel::announce, this, &Form1::announce);
    connect(m_collection, &CollectionPanel::announce, this, &Form1::announce);
}

void Form1::announce(const QString &text)
{
    m_notice->announce(text);
    speak(text);
}

void Form1::speak(const QString &text)
{
    auto *spoken = findChild<SpokenOutcome *>(QString(), Qt::FindDirectChildrenOnly);
    if (!spoken)
        spoken = new SpokenOutcome(this);
    spoken->say(text);
}

void Form1::openContextMenuByKeyboard()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != this)
        return;
    const QPoint centre = focus->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, centre, focus->mapToGlobal(centre));
    QApplication::sendEvent(focus, &event);
}
