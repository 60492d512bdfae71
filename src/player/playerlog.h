#pragma once

#include <QLoggingCategory>

// Why a drive, a disc or the sound output failed. The program shows and prints nothing of it
// unless asked: QT_LOGGING_RULES="corvanta.player.info=true".
Q_DECLARE_LOGGING_CATEGORY(playerLog)
