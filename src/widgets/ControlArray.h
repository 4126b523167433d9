// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>

// Controls addressed by one name and an index, as arrays(i). Indexes need
// not start at 0 or be contiguous. The window owns the controls; an element
// is taken out of the array before its control is deleted.
template <typename Control>
class ControlArray
{
public:
    Control *operator()(int index) const { return m_controls.value(index, nullptr); }
    int count() const { return int(m_controls.size()); }
    QList<int> indexes() const { return m_controls.keys(); }

    void insert(int index, Control *control) { m_controls.insert(index, control); }
    // Takes the control out of the array; the caller disposes of it.
    Control *take(int index) { return m_controls.take(index); }

private:
    QMap<int, Control *> m_controls;
};
