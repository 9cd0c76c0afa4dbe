#pragma once

#include <string>

// Where a symbolic link points, as written in the link; empty when `path` is
// not a link or cannot be read.
std::string LinkTarget(const std::string& path);

// The folder part of `path`: "" for a file in "/", "." for a bare name.
std::string FolderOf(const std::string& path);

// The current working folder, or "." when it cannot be named.
std::string CurrentFolder();
