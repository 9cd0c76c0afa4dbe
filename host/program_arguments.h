#pragma once

// The process arguments, stored at start; null before.
extern int argc;
extern char** argv;
