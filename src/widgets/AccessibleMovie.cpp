// SPDX-License-Identifier: MIT
#include "widgets/AccessibleMovie.h"

#include "widgets/MovieControl.h"

#include <QPointer>
#include <QWindow>

namespace {

// Whether a press through assistive technology may act: only where a click
// could, on a control that is shown and enabled.
bool canPress(const MovieControl *movie)
{
    return movie && movie->isVisible() && movie->isEnabled();
}

// What a command element says of itself: its title (its command when it
// has none) and the window's note for its command.
QString elementName(const MovieControl *movie, const MovieDocument::Command &element)
{
    const QString name = element.title.isEmpty() ? element.command : element.title;
    const QString note = movie->commandNote(element.command);
    return note.isEmpty() ? name : name + QLatin1String(", ") + note;
}

// One command element of a movie with several, as a child of the movie's
// interface. It holds no object of its own: it reads the element from the
// movie each time it is asked.
class MovieElement : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MovieElement(MovieControl *movie, int index) : m_movie(movie), m_index(index) {}

    bool isValid() const override { return m_movie && m_index < m_movie->commandElements().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_movie ? m_movie->window()->windowHandle() : nullptr;
    }

    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_movie); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        return elementName(m_movie, m_movie->commandElements().at(m_index));
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        return m_movie->commandElementRect(m_index).toAlignedRect().translated(m_movie->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override
    {
        if (isValid() && m_movie->commandElements().at(m_index).role == QLatin1String("tab"))
            return QAccessible::PageTab;
        return QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!m_movie || !m_movie->isVisible()) {
            state.invisible = true;
            state.offscreen = true;
        }
        if (!m_movie || !m_movie->isEnabled())
            state.disabled = true;
        // The element the keyboard highlights has the keyboard.
        if (m_movie && m_movie->highlightedElement() >= 0) {
            state.focusable = true;
            state.focused = m_movie->hasFocus() && m_movie->highlightedElement() == m_index;
        }
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        return canPress(m_movie) ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && canPress(m_movie))
            m_movie->raiseCommand(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<MovieControl> m_movie;
    int m_index;
};

QAccessibleInterface *accessibleMovie(const QString &className, QObject *object)
{
    if (className == QLatin1String("MovieControl") && object && object->isWidgetType())
        return new AccessibleMovie(static_cast<MovieControl *>(object));
    return nullptr;
}

} // namespace

AccessibleMovie::AccessibleMovie(MovieControl *movie) : QAccessibleWidget(movie, QAccessible::Button) {}

AccessibleMovie::~AccessibleMovie()
{
    for (QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
}

void AccessibleMovie::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleMovie);
        return true;
    }();
    Q_UNUSED(installed);
}

MovieControl *AccessibleMovie::movie() const
{
    return static_cast<MovieControl *>(widget());
}

bool AccessibleMovie::hasElementChildren() const
{
    return movie()->commandElements().size() > 1;
}

QAccessibleInterface *AccessibleMovie::focusChild() const
{
    const int element = movie()->highlightedElement();
    if (movie()->hasFocus() && element >= 0 && hasElementChildren())
        return child(element);
    return QAccessibleWidget::focusChild();
}

QAccessible::Role AccessibleMovie::role() const
{
    switch (movie()->commandElements().size()) {
    case 0:
        return QAccessible::Graphic;
    case 1:
        return QAccessible::Button;
    default:
        return QAccessible::Grouping;
    }
}

QString AccessibleMovie::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (text.isEmpty() && t == QAccessible::Name) {
        // A button without a name of its own says what its element says.
        const QVector<MovieDocument::Command> elements = movie()->commandElements();
        if (elements.size() == 1)
            text = elementName(movie(), elements.first());
    }
    return text;
}

int AccessibleMovie::childCount() const
{
    return hasElementChildren() ? movie()->commandElements().size() : 0;
}

QAccessibleInterface *AccessibleMovie::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const QAccessible::Id id = m_children.value(index))
        return QAccessible::accessibleInterface(id);
    auto *element = new MovieElement(movie(), index);
    m_children.insert(index, QAccessible::registerAccessibleInterface(element));
    return element;
}

int AccessibleMovie::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_children.cbegin(); it != m_children.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < childCount() ? it.key() : -1;
    }
    return -1;
}

QAccessibleInterface *AccessibleMovie::childAt(int x, int y) const
{
    if (!hasElementChildren())
        return nullptr;
    return child(movie()->commandElementAt(movie()->mapFromGlobal(QPointF(x, y))));
}

QStringList AccessibleMovie::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (movie()->commandElements().size() == 1 && canPress(movie()))
        names.prepend(pressAction());
    return names;
}

void AccessibleMovie::doAction(const QString &actionName)
{
    if (actionName == pressAction()) {
        if (movie()->commandElements().size() == 1 && canPress(movie()))
            movie()->raiseCommand(0);
        return;
    }
    QAccessibleWidget::doAction(actionName);
}
