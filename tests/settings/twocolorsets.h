#pragma once

#include "colors.h"

// The two sets of colours the settings saver alternates between, and which the test that kills
// it expects to find, whole, in cv.ini.
inline const Colors kColorsA{255, 65280, -2147483633};
inline const Colors kColorsB{-2147483643, 16711680, 33023};
