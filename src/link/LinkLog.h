#pragma once

#include <QLoggingCategory>

// Every command and reply on the line, off unless turned on:
//   QT_LOGGING_RULES="vorle.link.debug=true" vorle6
Q_DECLARE_LOGGING_CATEGORY(lcLink)
