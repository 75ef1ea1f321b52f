#pragma once

#include "base/DesktopOpener.h"

// Opens documents and web addresses through the desktop's own file associations.
class QtDesktopOpener : public DesktopOpener {
public:
    bool openFile(const QString& path) override;
    bool openUrl(const QString& url) override;
};
