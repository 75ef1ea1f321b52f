// Medians of the editing core on a 1 Mbit (131,072-byte) image: find of a 4-byte pattern
// (goal: under 5 ms), fill of the whole image and its undo (goal: under 30 ms each with the
// grid's repaint; here the core's part and the grid model's refresh of the changed rows, without
// painting), the selection's status-bar digests, copying as hex text, and the memory that 1,000
// whole-image undo steps take.
//
// Usage: bench_editing [runs]

#include "editing/ByteTexts.h"
#include "editing/ImageEditor.h"
#include "editing/ImageSearch.h"
#include "editing/RangeSummary.h"
#include "image/HexGridModel.h"
#include "image/ImageDigests.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr qint64 kImageSize = 131072;
constexpr int kHistorySteps = 1000;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// The median milliseconds of `runs` calls of `work`.
double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(elapsedMs(timer));
    }
    return median(times);
}

// Resident memory of this process in bytes, from /proc/self/status.
qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
        }
    }
    return -1;
}

QString ms(double value) { return QString::number(value, 'f', 3) + QStringLiteral(" ms"); }

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 51;
    QTextStream out(stdout);
    out << kImageSize << "-byte image, median of " << runs << " runs\n";

    const QByteArray random = randomBytes(kImageSize, 1);
    const QByteArray blank(kImageSize, '\xFF');
    const QByteArray pattern("\xDE\xAD\xBE\xEF");
    const QByteArray nearBlank("\xFF\xFF\xFF\xFE");
    qint64 found = 0;
    out << "find of a 4-byte pattern (goal: under 5 ms)\n";
    out << "  absent, random image:             " << ms(medianMs(runs, [&] {
        found += ImageSearch::findNext(random, pattern, 1).has_value();
    })) << "\n";
    out << "  FF FF FF FE, blank image:         " << ms(medianMs(runs, [&] {
        found += ImageSearch::findNext(blank, nearBlank, 1).has_value();
    })) << "\n";
    out << "  every FF of a blank image (10,000 kept): " << ms(medianMs(runs, [&] {
        found += ImageSearch::findAll(blank, "\xFF", {0, kImageSize}).addresses.size();
    })) << "\n";

    MemoryImage image;
    image.recreate(kImageSize);
    image.write(0, random);
    UnsavedImage unsaved;
    ImageEditor editor(image, unsaved);
    HexGridModel model;
    model.rebuild(image.bytes());
    std::vector<double> fillMs, undoMs, fillRefreshMs, undoRefreshMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const AddressRange changed = editor.fill({0, kImageSize}, pattern).changed;
        fillMs.push_back(elapsedMs(timer));
        timer.restart();
        model.refreshRange(image.bytes(), changed.start, changed.length);
        fillRefreshMs.push_back(elapsedMs(timer));

        timer.restart();
        editor.undo();
        undoMs.push_back(elapsedMs(timer));
        timer.restart();
        model.refreshRange(image.bytes(), changed.start, changed.length);
        undoRefreshMs.push_back(elapsedMs(timer));
    }
    out << "fill of the whole image with DE AD BE EF, and its undo (goal: under 30 ms each with "
           "the repaint)\n";
    out << "  fill: " << ms(median(fillMs)) << " (grid model refresh " << ms(median(fillRefreshMs))
        << ")\n";
    out << "  undo: " << ms(median(undoMs)) << " (grid model refresh " << ms(median(undoRefreshMs))
        << ")\n";

    out << "status bar of a whole-image selection (sum, CRC-32): " << ms(medianMs(runs, [&] {
        found += RangeSummary::of(random, {0, kImageSize}).crc32;
    })) << "\n";
    out << "SHA-256 of the image: "
        << ms(medianMs(runs, [&] { found += ImageDigests::sha256(random).size(); })) << "\n";
    QString copied;
    out << "copy as hex text: "
        << ms(medianMs(runs, [&] { copied = ByteTexts::hexLines(random); }));
    out << ", paste it back: "
        << ms(medianMs(runs, [&] { found += ByteTexts::parseHex(copied).bytes.size(); })) << "\n";

    // Every step changes every byte: the worst case for the history's memory.
    const qint64 before = residentBytes();
    {
        MemoryImage many;
        many.recreate(kImageSize);
        UnsavedImage manyUnsaved;
        ImageEditor history(many, manyUnsaved);
        QElapsedTimer timer;
        timer.start();
        for (int step = 1; step <= kHistorySteps; ++step) {
            MemoryImage next;
            next.recreate(kImageSize);
            next.write(0, randomBytes(kImageSize, step));
            history.replaceWhole(std::move(next), EditKind::BlockRead);
        }
        const double total = elapsedMs(timer);
        const qint64 after = residentBytes();
        out << kHistorySteps << " whole-image steps (goal: under 50 MB more): "
            << QString::number(static_cast<double>(after - before) / 1e6, 'f', 1)
            << " MB resident more, history "
            << QString::number(history.history().storedBytes() / 1e6, 'f', 1) << " MB in "
            << history.history().undoCount() << " steps kept, " << ms(total / kHistorySteps)
            << " per step\n";
    }
    return found < 0 ? 1 : 0;
}
