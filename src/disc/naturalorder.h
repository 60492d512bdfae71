#pragma once

#include <QString>

// File names in the order people number them, "2" before "10", whatever the locale (QCollator's
// numeric mode does nothing in the C locale); letters regardless of case.
bool naturalLess(const QString& a, const QString& b);
