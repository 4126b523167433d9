// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What a Wayland session does not let the program do that it does on X11,
// and the words that say so: the screen cannot be read (no pick from
// screen), a window cannot place itself (Find colour cannot open beside the
// card), and the compositors give no display profile. Every text is empty
// on any other platform, so that X11 shows nothing of it.
class WaylandLimits
{
public:
    // Whether the program runs on Wayland.
    static bool active();

    static QString screenGrab();
    static QString placement();
    static QString displayProfile();
    // The three together, as one paragraph beginning "On Wayland:".
    static QString paragraph();
    // Says the display profile's limit on standard error, once a run.
    static void sayDisplayProfile();
};
