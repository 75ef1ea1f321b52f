#include "files/FolderMemory.h"

#include <algorithm>

namespace {

bool isSeparator(QChar c) { return c == u'/' || c == u'\\'; }

}  // namespace

QString folderOfChosenFile(const QString& fileName, const QString& fileTitle)
{
    const qsizetype titleStart = fileName.size() - fileTitle.size();
    if (!fileTitle.isEmpty() && fileName.endsWith(fileTitle) &&
        (titleStart == 0 || isSeparator(fileName.at(titleStart - 1)))) {
        return fileName.left(std::max<qsizetype>(0, titleStart - 1));
    }
    const qsizetype separator =
        std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    return separator > 0 ? fileName.left(separator) : QString();
}
