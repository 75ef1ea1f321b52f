#pragma once

#include "production/JobProblem.h"
#include "production/LineFailure.h"

#include <QString>

struct LineDatabaseAddress;
struct SerialField;

// The command line's English for the production core's facts.

// "serials[1].length: 9 bytes is not a length a binary-le field can have (1 to 8)".
[[nodiscard]] QString jobProblemText(const JobProblem& problem);

// "the line database postgresql://op@db:5432/line cannot be reached: <the server's reason>".
[[nodiscard]] QString lineFailureText(const LineFailure& failure,
                                      const LineDatabaseAddress& address);

// "serial: decimal, 8 bytes at 0x00010, 1..99999999 step 1 (series sensor.serial)".
[[nodiscard]] QString serialFieldText(const SerialField& field);
