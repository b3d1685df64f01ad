// Work that start-up may leave until the program's first window is on the
// screen.
#pragma once

#include <functional>

// Runs `work` from the event loop once any window of the program has been
// painted for the first time; at once when that has already happened or
// when there is no application object. Works wait in the order given.
void RunAfterFirstPaint(std::function<void()> work);

// Forgets the paint seen and drops the works still waiting (tests).
void ResetFirstPaintWatch();
