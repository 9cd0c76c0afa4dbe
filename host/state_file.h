#pragma once

#include <string>

// Replaces the file at `path` with `bytes` through a scratch file beside it
// and a rename, so that a crash, a full disk or a power cut leaves either
// the old content or the new one whole. What the player set up stays: a
// symbolic link keeps pointing where it did and its target gets the new
// content, the file keeps its permission bits, and a file its owner may not
// write is not replaced. Each process has its own scratch name, so two
// instances never write into one scratch file.
// Returns 0; -1 when the file cannot be replaced; -2 when the bytes could not
// all be written. On failure the old content is untouched.
int ReplaceFileContent(const std::string& path, const std::string& bytes);
