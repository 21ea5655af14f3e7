#pragma once

// The start-up benchmark's view into a start: with VERBARIUM_BENCH_READY set, each phase is written to standard
// output as "phase <name> <monotonic clock in ns>" the moment it is reached; otherwise nothing happens.
namespace StartupTimeline {

void mark(const char *phase);

} // namespace StartupTimeline
