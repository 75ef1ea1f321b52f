#pragma once

#include <QString>

// Where the text listing of the memory image ("temp.txt") lives: in the application folder.
[[nodiscard]] inline QString listingFilePath(const QString& appFolder)
{
    return appFolder + QStringLiteral("temp.txt");
}
