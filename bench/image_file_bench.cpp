// Median time to save a 131,072-byte image (a 1 Mbit part) as an image file and to load it
// back, for each format, through the same routines the File menu uses (temporary file, sync to
// disk and rename included), and of the conversion alone, to tell the program's share from the
// disk's. The files are written in the temporary folder ($TMPDIR, else /tmp), so that folder's
// disk decides most of the save time: the sync before the rename waits for it.
//
// Usage: bench_image_files [runs]

#include "files/BinaryReader.h"
#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"
#include "files/IntelHexReader.h"
#include "files/SRecordReader.h"
#include "image/MemoryImage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr qint64 kImageSize = 131072;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct Format {
    const char* name;
    ImageFileFormat format;
    const char* fileName;
    std::function<void(QByteArrayView, MemoryImage&)> read;
};

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 51;
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "cannot create a temporary folder\n";
        return 1;
    }

    MemoryImage image;
    image.recreate(kImageSize);
    QRandomGenerator generator(1);
    for (qint64 i = 0; i < kImageSize; ++i) {
        image.set(i, static_cast<std::uint8_t>(generator.bounded(256)));
    }

    const std::vector<Format> formats = {
        {"Intel HEX", ImageFileFormat::IntelHex, "bench.hex",
         [](QByteArrayView text, MemoryImage& into) {
             static_cast<void>(readIntelHex(text, into));
         }},
        {"S-records", ImageFileFormat::SRecord, "bench.s28",
         [](QByteArrayView text, MemoryImage& into) {
             static_cast<void>(readSRecords(text, into));
         }},
        {"binary", ImageFileFormat::Binary, "bench.bin",
         [](QByteArrayView bytes, MemoryImage& into) {
             static_cast<void>(readBinary(bytes, into));
         }},
    };

    out << kImageSize << "-byte image, median of " << runs << " runs (goal: under 10 ms each)\n";
    for (const Format& format : formats) {
        const QString path = dir.filePath(QString::fromLatin1(format.fileName));
        std::vector<double> saveMs;
        std::vector<double> loadMs;
        std::vector<double> writeMs;
        std::vector<double> readMs;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const QByteArray contents = imageFileContents(format.format, image.bytes());
            writeMs.push_back(elapsedMs(timer));

            MemoryImage parsed;
            parsed.recreate(kImageSize);
            timer.restart();
            format.read(contents, parsed);
            readMs.push_back(elapsedMs(timer));

            timer.restart();
            const FileWriteFailure failure = saveImageFile(path, format.format, image.bytes());
            saveMs.push_back(elapsedMs(timer));
            if (failure.failed()) {
                out << format.name << ": save failed: " << failure.systemText << "\n";
                return 1;
            }

            timer.restart();
            const ImageFileLoad load = loadImageFile(path, format.format, kImageSize);
            loadMs.push_back(elapsedMs(timer));
            if (!load.loaded() || load.image.bytes() != image.bytes()) {
                out << format.name << ": load failed or differs\n";
                return 1;
            }
        }
        out << "  " << format.name << ": save " << QString::number(median(saveMs), 'f', 3)
            << " ms, load " << QString::number(median(loadMs), 'f', 3)
            << " ms (conversion only: write " << QString::number(median(writeMs), 'f', 3)
            << " ms, read " << QString::number(median(readMs), 'f', 3) << " ms)\n";
    }
    return 0;
}
