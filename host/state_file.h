#pragma once

#include <string>

// Replaces the file at `path` with `bytes` through a scratch file beside it
// and a rename, so that a crash, a full disk or a power cut leaves either
// the old content or the new one whole. What the player set up stays: a
// symbolic link keeps pointing where it did and its target gets the new
// content, a hard link stays one, the file keeps its owner, group and
// permission bits, and a file its owner may not write is not replaced.
// Where no scratch file can stand in (a folder that may not be written, a
// file mounted on its own, an owner that cannot be kept) the file is
// written where it is, as a plain write would, one save at a time. A
// device or FIFO in the file's place (a link to /dev/null) stays what it is
// and gets the bytes as a plain write gives them; so does a file a process
// has open (a link to /dev/stdout), after what it already holds.
// Returns 0; -1 when the file cannot be replaced; -2 when the bytes could not
// all be written. On failure errno tells why.
int ReplaceFileContent(const std::string& path, const std::string& bytes);

// Where the state file is, named in full for the player: it lives in the
// folder the game is started in, which the installed launcher makes the
// player's data folder.
std::string StateFilePath();
