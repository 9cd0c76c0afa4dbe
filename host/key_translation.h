#pragma once

// The host's key code (the platform's virtual-key numbering) of a window
// library key, 0 for keys the game does not see.
int TransKey(int key);

// The character event a translated key sends on press, for keys that get no
// character callback; 0 for the others.
int KeyToChar(int key);
