#pragma once
#include "CommandLine.h"

#include <cstdio>
#include <functional>

class JobPrinter;

// One command-line job (--print or --save) run on the design model without a
// window or widget, printing on the printer that printer() makes (asked only by
// a print job: a save makes no printer): the design comes from the --design
// file or the stored settings, which the job reads but never writes, with the
// command line's symbology, size and data source in place of the design's. Returns the exit
// status: 0 done (the status line on out, or on err when the PDF itself goes
// to standard output), 1 failed (the message the window would show, on err).
int runBatchJob(const CommandLine &job, const std::function<JobPrinter &()> &printer, std::FILE *out,
                std::FILE *err);

// --list-fields: the fields the templates of the design (the --design file or
// the stored one) use, the import file's value and title templates' first,
// then its objects' from the bottom: one a line as {name}, each once, in order
// of first use. Returns the exit status: 0 listed, 1 failed (the message on err).
int listFields(const CommandLine &job, std::FILE *out, std::FILE *err);

// Ends what the program printed on out: flushed, and checked, since a full
// disk, a closed pipe or a closed standard output fails only there. Returns
// status, or 1 with "quillmark: standard output could not be written: <reason>."
// on err when out could not be written.
int finishOutput(std::FILE *out, std::FILE *err, int status);

// Standard input, output and error that the program was started without are
// held by a descriptor that reads nothing and takes no writes, so that no file
// the program opens takes their place and every write there fails as it should.
void holdClosedStandardDescriptors();
