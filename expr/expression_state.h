#pragma once
// The expression language's whole mutable state, as a new session starts it. Start-up, the
// terminal console, the fuzzers and the test fixtures put it back through this one call, so that
// no run sees what an earlier one left.

// The store and its index with the standard symbols and i, j, k; no user function, no display
// flag; an empty WorkStack and console line; no evaluation or domain error; the running integral
// at 0; no compilation and no work in progress. The message and stop hooks stay as installed:
// they are the program's wiring, not its state.
void resetExpressionState();
