#pragma once

#include "base/DesktopOpener.h"

#include <QStringList>

// Records what the program asked the desktop to open; answers with `succeed`.
class FakeDesktopOpener : public DesktopOpener {
public:
    bool openFile(const QString& path) override
    {
        openedFiles.append(path);
        return succeed;
    }
    bool openUrl(const QString& url) override
    {
        openedUrls.append(url);
        return succeed;
    }

    QStringList openedFiles;
    QStringList openedUrls;
    bool succeed = true;
};
