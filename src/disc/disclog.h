#pragma once

#include <QLoggingCategory>

// Why a drive or a disc could not be opened, and what libcdio said of it; the player's own
// category, so one rule shows both: QT_LOGGING_RULES="corvanta.player.info=true".
Q_DECLARE_LOGGING_CATEGORY(discLog)
