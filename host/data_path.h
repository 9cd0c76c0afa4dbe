#pragma once

#include "runtime/kp_string.h"

// A bare asset name becomes a path in the program's data folder; paths with
// a scheme or an explicit folder are kept.
String kp_data_FixDataPath(String path);
