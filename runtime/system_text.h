#pragma once

#include <string>

#include "runtime/kp_string.h"

// Text that crosses to and from the operating system: file paths, the
// program's own path, addresses handed to other programs. The system's
// bytes are UTF-8 by convention but not by rule, so the conversion is
// lossless both ways: characters beyond 16 bits become surrogate pairs, and
// each byte that is not part of valid UTF-8 becomes the lone code unit
// 0xDC00 + byte, which turns back into that byte on the way out.
String SystemText(const std::string& bytes);
std::string SystemBytes(const String& text);
