#pragma once
// Thread priorities as the framework names them, their system values, and
// how they are applied on this platform.
//
// Linux has no per-thread priority classes for ordinary threads; the nice
// value is per thread, so a priority becomes the thread's nice value: the
// nice value the thread started with plus an offset (tpIdle: the lowest
// nice value, 19). An unprivileged process may raise a nice value but not
// lower it below its RLIMIT_NICE ceiling (by default, not below where it
// is): tpHigher and above usually fail, and a thread once lowered cannot come
// back up. Such failures are silent, as a refused priority change was on
// the original platform, and the thread keeps running at the nice value it has.

#include <string>
#include <vector>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The SetThreadPriority value: -15, -2, -1, 0, 1, 2, 15.
int ThreadPriorityValue(TThreadPriority priority);
// The nice value a thread that started at baseNice gets, within -20..19.
int ThreadPriorityNice(TThreadPriority priority, int baseNice);

// Identifiers as form streams write them ("tpNormal"), in enumeration order.
const std::vector<std::string>& ThreadPriorityIdents();
const char* ThreadPriorityToIdent(TThreadPriority priority);
// Case-insensitive, as form streams match identifiers; false for an unknown one.
bool IdentToThreadPriority(const std::string& ident, TThreadPriority* priority);
