#pragma once

// What the operating system knows about this process: its peak memory and how
// long ago it was launched. Each benchmark task runs in a process of its own so
// that both figures belong to that task alone.
namespace ProcessStats {

// Peak resident set size so far, in MB (1 MB = 1024 KiB, as /usr/bin/time's
// kbytes divided by 1024, so that our figures and the peers' compare directly).
double peakMegabytes();

// Seconds since the launcher started this process: bench/run puts the launch
// time in QUILLBENCH_LAUNCH_NS (nanoseconds of CLOCK_REALTIME); without it the
// kernel's start time of the process is used, which has only 10 ms steps.
double secondsSinceLaunch();

} // namespace ProcessStats
