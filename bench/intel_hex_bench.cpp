// Median time to save a 65,536-byte image as an Intel HEX file and to load it back, through
// the same routines the File menu uses (temporary file, sync to disk and rename included), and
// of the text conversion alone, to tell the program's share from the disk's.
// The file is written in the temporary folder ($TMPDIR, else /tmp), so that folder's disk
// decides most of the save time: the sync before the rename waits for it.

#include "files/IntelHexFile.h"
#include "files/IntelHexReader.h"
#include "files/IntelHexWriter.h"
#include "image/MemoryImage.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRuns = 51;
constexpr qint64 kImageSize = 65536;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "cannot create a temporary folder\n";
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("bench.hex"));

    MemoryImage image;
    image.recreate(kImageSize);
    QRandomGenerator generator(1);
    for (qint64 i = 0; i < kImageSize; ++i) {
        image.set(i, static_cast<std::uint8_t>(generator.bounded(256)));
    }

    std::vector<double> saveMs;
    std::vector<double> loadMs;
    std::vector<double> writeTextMs;
    std::vector<double> readTextMs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray text = intelHexText(image.bytes());
        writeTextMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

        MemoryImage parsed;
        parsed.recreate(kImageSize);
        timer.restart();
        static_cast<void>(readIntelHex(text, parsed));
        readTextMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        const QString error = saveIntelHexFile(path, image);
        saveMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!error.isEmpty()) {
            out << "save failed: " << error << "\n";
            return 1;
        }

        timer.restart();
        const IntelHexLoad load = loadIntelHexFile(path, kImageSize);
        loadMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!load.complete || load.image.bytes() != image.bytes()) {
            out << "load failed or differs\n";
            return 1;
        }
    }

    out << "Intel HEX, " << kImageSize << "-byte image, median of " << kRuns << " runs\n";
    out << "  save: " << QString::number(median(saveMs), 'f', 3) << " ms\n";
    out << "  load: " << QString::number(median(loadMs), 'f', 3) << " ms\n";
    out << "  of which text only: write " << QString::number(median(writeTextMs), 'f', 3)
        << " ms, read " << QString::number(median(readTextMs), 'f', 3) << " ms\n";
    return 0;
}
