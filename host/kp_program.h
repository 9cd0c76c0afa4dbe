#pragma once

// The entry points of the program that runs on this host, supplied by it.
// kpInit gives every module global its first value and registers the
// collector's roots; kpMain creates the app object.
void kpInit();
int kpMain();
