#pragma once

#include "cli/BoardResult.h"
#include "jobs/ChipJobOutcome.h"

// Fills `result` with how a chip job ended: its kind (a verify that differs is a mismatch, a
// blank check that finds data is not blank), the step, the bytes, how far a write got and, for
// a read, the part's image.
void takeChipJobOutcome(BoardResult& result, const ChipJobOutcome& job);
