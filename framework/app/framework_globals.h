#pragma once

// Gives every framework module global its first value.
void kp_framework_init();

// Marks the framework's module globals that hold references, in the
// collector's root order; the program's own roots follow them.
void kp_framework_mark();
