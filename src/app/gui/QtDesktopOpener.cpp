#include "app/gui/QtDesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopOpener::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDesktopOpener::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }
