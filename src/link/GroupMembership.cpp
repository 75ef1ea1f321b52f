#include "link/GroupMembership.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

GroupMembership GroupMembership::of(const QString& group)
{
    GroupMembership membership;
#ifdef Q_OS_UNIX
    const passwd* user = ::getpwuid(::geteuid());
    if (user) membership.userName = QString::fromLocal8Bit(user->pw_name);
    const QByteArray groupName = group.toLocal8Bit();
    const ::group* entry = ::getgrnam(groupName.constData());
    if (!entry) return membership;
    const gid_t gid = entry->gr_gid;
    if (user) {
        membership.listed = user->pw_gid == gid;
        for (char** member = entry->gr_mem; member && *member && !membership.listed; ++member) {
            membership.listed = membership.userName == QString::fromLocal8Bit(*member);
        }
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    const int filled = count > 0 ? ::getgroups(count, groups.data()) : 0;
    membership.active = ::getegid() == gid;
    for (int i = 0; i < filled && !membership.active; ++i) membership.active = groups[i] == gid;
#else
    Q_UNUSED(group);
#endif
    return membership;
}
