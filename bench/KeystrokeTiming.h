#pragma once
#include "BenchResult.h"

class Form1;

// Keystrokes typed into the fixed-text box of a shown window, each timed until
// the preview has repainted; they alternate between typing a digit after the
// box's text and deleting it again, so the data keeps its length and every
// keystroke changes the symbol. Sets the result's seconds (the median), p90
// and p99, the paints and the peak; fails it when a keystroke did not reach
// the symbol or did not repaint it.
void typeKeystrokes(Form1 &form, qint64 keystrokes, BenchResult &result);
