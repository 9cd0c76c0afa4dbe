#pragma once

#include <cstdio>

// The options a player may give: help and version are answered without
// opening a window; anything else is refused.
// Returns the exit status when the program is to end here, -1 to play; an
// answer closes `out`, and fails with 1 when it cannot all be written.
int AnswerCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err);

// Says why no window can be opened, in a player's words: no display named,
// or the named one refused.
void ExplainNoDisplay(std::FILE* err);
