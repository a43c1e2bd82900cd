#pragma once
// Stopping a publisher joins its thread, which may sit in a name lookup or wait for a broker that does not
// answer. A window never waits for that: it hands the stop over to a thread of its own here. Whatever the
// stop uses is captured by the function and lives until it has run.

#include <functional>

namespace terrix {

// Runs `stop` on a thread of its own and returns at once. Any thread.
void StopInBackground(std::function<void()> stop);
// Returns once every stop handed over so far has run: at the program's end, so that no stop is cut off.
void WaitForBackgroundStops();

} // namespace terrix
