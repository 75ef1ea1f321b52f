#pragma once

#include <QString>

// The platform shell as the logic sees it: opening a document in the user's viewer or a web
// address in the browser. Failures are reported as false; callers decide whether to say so.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QString& url) = 0;
};
