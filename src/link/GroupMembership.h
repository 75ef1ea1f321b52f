#pragma once

#include <QString>

// Whether the user running the program belongs to a group: in the account database, and in
// this login. A user just added to a group has it only after logging in again, which is the
// usual reason a serial device still refuses someone who did what the message said.
struct GroupMembership {
    QString userName;
    bool listed = false;  // the group database (or the user's primary group) names the user
    bool active = false;  // this process carries the group

    [[nodiscard]] static GroupMembership of(const QString& group);
};
