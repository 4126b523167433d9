// SPDX-License-Identifier: MIT
#pragma once

#include "data/WriteRefusal.h"

// What a table's read or change came to: its value, and, when the file's
// state refused it (another program's lock, a read-only or newer file...),
// why; the value is then its type's default.
template <typename T>
struct TableResult
{
    T value{};
    WriteRefusal refusal = WriteRefusal::None;

    bool refused() const { return refusal != WriteRefusal::None; }
};
