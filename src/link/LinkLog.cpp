#include "link/LinkLog.h"

Q_LOGGING_CATEGORY(lcLink, "vorle.link", QtInfoMsg)
