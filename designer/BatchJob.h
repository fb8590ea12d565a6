#pragma once
#include "CommandLine.h"

#include <cstdio>

// One command-line job (--print or --save) run through the designer's own
// handlers on a window that is never shown: the design, data source and
// margins come from the stored settings or the --design file, which the job
// reads but never writes. Returns the exit status: 0 done (one line of what it
// did on out), 1 failed (the message the window would show, on err).
int runBatchJob(const CommandLine &job, std::FILE *out, std::FILE *err);
