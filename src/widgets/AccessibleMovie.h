// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

class MovieControl;

// What a screen reader finds of a movie control. A movie with one command
// element is a push button whose press action raises that command, as a
// click on it does. A movie with several (the palette) is a group whose
// children are its command elements: each named by its element's <title>
// and the note the window gave for its command, a page tab when the
// element's role is "tab" and a push button otherwise, with a press action
// of its own. A movie with none is a picture.
class AccessibleMovie : public QAccessibleWidget
{
public:
    explicit AccessibleMovie(MovieControl *movie);
    ~AccessibleMovie() override;

    // Makes every MovieControl answer with this interface; once is enough.
    static void installFactory();

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    // The element the keyboard highlights, while the movie has it.
    QAccessibleInterface *focusChild() const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    MovieControl *movie() const;
    // Whether the command elements stand as children rather than the
    // control being one button.
    bool hasElementChildren() const;

    // The children made so far, by element index; they live as long as
    // this interface.
    mutable QHash<int, QAccessible::Id> m_children;
};
