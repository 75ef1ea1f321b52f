// Renders the program icon into a freedesktop icon theme tree, for installation:
//   vorle6-icon <output-folder> <icon-name>
// writes <output-folder>/hicolor/<n>x<n>/apps/<icon-name>.png for the usual sizes.
#include "ui/gui/ProductLogo.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vorle6-icon <output-folder> <icon-name>\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(output).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !ProductLogo::image(size).save(file)) {
            std::fprintf(stderr, "vorle6-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
