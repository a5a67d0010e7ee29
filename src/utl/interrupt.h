// Stopping on SIGINT (Ctrl-C) or SIGTERM. The handler only records the
// signal; the run looks at the record at safe points, at least once a
// second, and stops through the one fatal path: one console line, output
// files flushed and closed, appends to the model files undone, and the exit
// status of the shell's convention, 128 + the signal number (130, 143).
#pragma once

namespace vadz {

// Installs the handlers of SIGINT and SIGTERM (once, at program start).
void catch_interrupts();
// True once a signal has arrived. For helper threads, which cannot stop the
// run themselves: they end their work early and the main thread stops.
bool interrupted();
// A fatal stop "Interrupted by SIGINT" (or SIGTERM) once a signal has arrived.
void check_interrupt();

}  // namespace vadz
