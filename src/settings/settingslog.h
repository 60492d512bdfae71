#pragma once

#include <QLoggingCategory>

// Why a save failed: said only when QT_LOGGING_RULES="corvanta.settings.info=true" asks.
Q_DECLARE_LOGGING_CATEGORY(settingsLog)
