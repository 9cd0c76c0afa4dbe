#pragma once

#include <string>

#include "runtime/kp_string.h"

// The byte encodings of strings, "ascii" and "utf8"; any other name is the
// runtime error "Invalid string encoding:" followed by the name.

// "ascii" keeps each unit's low 8 bits; "utf8" encodes each unit on its own.
std::string EncodeText(const String& text, const String& encoding);

// "ascii" gives one character per byte. "utf8" decodes sequences of one to
// three bytes; any fault makes the whole call give one character per byte,
// holding the byte's signed value.
String DecodeText(const unsigned char* bytes, int count, const String& encoding);

// How many bytes at the end of the run begin a UTF-8 sequence that the next
// bytes may still complete.
int Utf8TailLength(const unsigned char* bytes, int count);
