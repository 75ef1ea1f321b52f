#pragma once

#include <QString>

// The text of `vorle6-cli COMMAND --help` ("write", "job new", "log", "run", ...): the
// command's usage lines and the options it takes, picked from the full help so that the two
// never say different things, and the exit codes. The full help for an empty or unknown command.
[[nodiscard]] QString commandHelpText(const QString& command);
