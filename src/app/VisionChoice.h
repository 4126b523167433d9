// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class Notice;
class QMenu;
class QWidget;

// The window's "See as" choice: the card's colours painted as a person
// with a colour-vision deficiency sees them. Offered in both context menus
// and by a key outside the text boxes; while a simulation is on, the notice
// place says so without moving any control, and so does the window's
// accessible description. The choice lasts for the run.
class VisionChoice : public QObject
{
    Q_OBJECT

public:
    VisionChoice(QWidget *window, Notice *notice);

    // The "See as" submenu, its current choice checked.
    void addTo(QMenu *menu);
    // The key's step: normal vision, protanopia, deuteranopia, tritanopia,
    // achromatopsia and round again, each at full severity.
    void next();

signals:
    // What the change comes to, for a screen reader.
    void changed(const QString &said);

private:
    void show();

    QWidget *m_window;
    Notice *m_notice;
    QString m_description;  // the window's own, before any simulation
};
