#pragma once
#include "LabelRenderer.h"

class Module1;

// The labels a run would make, one value at a time, for the canvas to show
// any of them: the data is read from its first value as a run reads it.
namespace LabelRows {

// How many values the data gives, counting no further than most (a fixed
// text is one label however many are printed). 0 when it cannot be read.
long long count(Module1 &data, long long most);
// The number-th label's record (from 1), or the last one when the data ends
// before; QuillError when the data cannot be read.
LabelRecord record(Module1 &data, long long number);

} // namespace LabelRows
