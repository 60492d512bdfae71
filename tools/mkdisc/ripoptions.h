#pragma once

#include "ripformat.h"

#include <QStringList>
#include <optional>

// Takes the rip options off the front of args: --format flac|wav, then as wanted --split,
// --bits 16|24, --rate HZ, --channels 1|2, each at most once and none without --format.
// Leaves *format empty when there are none; false when they are malformed.
bool takeRipOptions(QStringList* args, std::optional<RipFormat>* format);
