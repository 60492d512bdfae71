#include "playerlog.h"

Q_LOGGING_CATEGORY(playerLog, "corvanta.player", QtWarningMsg)
