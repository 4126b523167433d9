// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

// The window's controls by name ("pagen_text") or array element
// ("tart_pb(1)"), as the window hands them to the panels that run them.
using ControlMap = QHash<QString, QObject *>;

// The control of that name as its kind; null when there is none of it.
template <typename Control>
Control *controlOf(const ControlMap &controls, const char *name)
{
    return qobject_cast<Control *>(controls.value(QLatin1String(name)));
}
