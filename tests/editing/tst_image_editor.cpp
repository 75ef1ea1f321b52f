// Edits of the memory image through the editor: each operation, its undo and redo, the unsaved
// state following the history, and the history's memory bound.
#include "editing/ImageChangeObserver.h"
#include "editing/ImageEditor.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

constexpr qint64 kSize = 256;

QByteArray ascending(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>(i);
    return bytes;
}

QByteArray with(QByteArray image, qint64 address, const QByteArray& bytes)
{
    image.replace(address, bytes.size(), bytes);
    return image;
}

MemoryImage imageOf(const QByteArray& bytes)
{
    MemoryImage image;
    image.recreate(bytes.size());
    image.write(0, bytes);
    return image;
}

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

struct Recorder : ImageChangeObserver {
    QList<ImageChange> changes;
    void imageChanged(const ImageChange& change) override { changes.append(change); }
};

// An image of ascending bytes, saved, with an editor over it.
struct Fixture {
    MemoryImage image = imageOf(ascending(kSize));
    UnsavedImage unsaved;
    ImageEditor editor{image, unsaved};
    Recorder recorder;
    Fixture() { editor.setObserver(&recorder); }
};

enum class Op { SetByte, Fill, Paste, WriteRuns, ReplaceAt, ReplaceAll, ReplaceWhole };

}  // namespace

Q_DECLARE_METATYPE(Op)

class ImageEditorTest : public QObject {
    Q_OBJECT
private slots:
    void operation_data();
    void operation();
    void savedPointFollowsUndoAndRedo();
    void typingOneByteIsOneStep();
    void replaceRefusals_data();
    void replaceRefusals();
    void anotherPartClearsTheHistory();
    void historyStaysWithinItsBudget();
};

void ImageEditorTest::operation_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<qint64>("address");  // the range's start, the paste's or replace's address
    QTest::addColumn<qint64>("length");   // the fill's or replace-all's range
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("other");  // the replacement
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<qint64>("changedStart");
    QTest::addColumn<qint64>("changedLength");  // 0: nothing changed, no step
    QTest::addColumn<qint64>("leftOut");

    const QByteArray image = ascending(kSize);
    const QByteArray none;
    QTest::newRow("byte") << Op::SetByte << qint64{0x10} << qint64{1} << QByteArray("\x41") << none
                          << with(image, 0x10, "\x41") << qint64{0x10} << qint64{1} << qint64{0};
    QTest::newRow("byte unchanged")
        << Op::SetByte << qint64{0x10} << qint64{1} << QByteArray("\x10") << none << image
        << qint64{0} << qint64{0} << qint64{0};
    QTest::newRow("fill with a pattern cut at the range's end")
        << Op::Fill << qint64{0x20} << qint64{6} << QByteArray("\xDE\xAD\xBE\xEF") << none
        << with(image, 0x20, "\xDE\xAD\xBE\xEF\xDE\xAD") << qint64{0x20} << qint64{6} << qint64{0};
    QTest::newRow("fill cut at the image's end")
        << Op::Fill << qint64{0xFC} << qint64{0x20} << QByteArray("\x00\xFF", 2) << none
        << with(image, 0xFC, QByteArray("\x00\xFF\x00\xFF", 4)) << qint64{0xFC} << qint64{3}
        << qint64{0};
    // Bytes that already hold their value are not part of the change.
    QTest::newRow("fill keeping its first byte")
        << Op::Fill << qint64{0x30} << qint64{4} << QByteArray("\x30\x00\x00\x00", 4) << none
        << with(image, 0x31, QByteArray(3, '\0')) << qint64{0x31} << qint64{3} << qint64{0};
    QTest::newRow("paste") << Op::Paste << qint64{0x40} << qint64{0} << QByteArray("\x0A\x1B")
                           << none << with(image, 0x40, "\x0A\x1B") << qint64{0x40} << qint64{2}
                           << qint64{0};
    QTest::newRow("paste past the end")
        << Op::Paste << qint64{0xFE} << qint64{0} << QByteArray("\x01\x02\x03\x04\x05") << none
        << with(image, 0xFE, "\x01\x02") << qint64{0xFE} << qint64{2} << qint64{3};
    // Two runs 0x50 apart: one step, the grid repaints the span.
    QTest::newRow("runs of a file")
        << Op::WriteRuns << qint64{0x10} << qint64{0} << QByteArray("\xAA\xBB") << none
        << with(with(image, 0x10, "\xAA"), 0x60, "\xBB") << qint64{0x10} << qint64{0x51}
        << qint64{0};
    QTest::newRow("replace one") << Op::ReplaceAt << qint64{0x41} << qint64{0}
                                 << QByteArray("\x41\x42") << QByteArray("JP")
                                 << with(image, 0x41, "JP") << qint64{0x41} << qint64{2}
                                 << qint64{0};
    QTest::newRow("replace one that is not there")
        << Op::ReplaceAt << qint64{0x40} << qint64{0} << QByteArray("\x41\x42") << QByteArray("JP")
        << image << qint64{0} << qint64{0} << qint64{0};
    QTest::newRow("replace all in a range")
        << Op::ReplaceAll << qint64{0x00} << qint64{0x80} << QByteArray("\x01")
        << QByteArray("\xEE") << with(image, 0x01, "\xEE") << qint64{0x01} << qint64{1}
        << qint64{0};
    QTest::newRow("replace all outside the range finds nothing")
        << Op::ReplaceAll << qint64{0x80} << qint64{0x80} << QByteArray("\x01")
        << QByteArray("\xEE") << image << qint64{0} << qint64{0} << qint64{0};
    QTest::newRow("whole image") << Op::ReplaceWhole << qint64{0} << qint64{0}
                                 << with(image, 0x80, QByteArray(2, '\0')) << none
                                 << with(image, 0x80, QByteArray(2, '\0')) << qint64{0x80}
                                 << qint64{2} << qint64{0};
}

void ImageEditorTest::operation()
{
    QFETCH(Op, op);
    QFETCH(qint64, address);
    QFETCH(qint64, length);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, other);
    QFETCH(QByteArray, after);
    QFETCH(qint64, changedStart);
    QFETCH(qint64, changedLength);
    QFETCH(qint64, leftOut);

    Fixture f;
    const QByteArray before = f.image.bytes();
    AddressRange changed;
    qint64 left = 0;
    switch (op) {
        case Op::SetByte:
            QVERIFY(f.editor.setByte(address, static_cast<std::uint8_t>(bytes.at(0))));
            if (!f.recorder.changes.isEmpty()) changed = f.recorder.changes.last().range;
            break;
        case Op::Fill:
            changed = f.editor.fill({address, length}, bytes).changed;
            break;
        case Op::Paste: {
            QCOMPARE(f.editor.pasteOverrun(address, bytes.size()), leftOut);
            const EditOutcome outcome = f.editor.paste(address, bytes);
            changed = outcome.changed;
            left = outcome.leftOut;
            QCOMPARE(outcome.written, bytes.size() - leftOut);
            break;
        }
        case Op::WriteRuns:
            changed =
                f.editor.writeRuns(address, {{0, bytes.left(1)}, {0x50, bytes.mid(1)}}).changed;
            break;
        case Op::ReplaceAt:
            changed = f.editor.replaceAt(address, bytes, other).changed;
            break;
        case Op::ReplaceAll:
            changed = f.editor.replaceAll(bytes, other, {address, length}).changed;
            break;
        case Op::ReplaceWhole:
            f.editor.replaceWhole(imageOf(bytes), EditKind::BlockRead);
            changed = {changedStart, changedLength};
            break;
    }
    QCOMPARE(f.image.bytes(), after);
    QCOMPARE(left, leftOut);
    if (changedLength == 0) {
        QVERIFY(changed.isEmpty());
        QVERIFY(!f.editor.history().canUndo());
        QVERIFY(!f.unsaved.unsaved());
        return;
    }
    const AddressRange expected{changedStart, changedLength};
    QCOMPARE(changed, expected);
    QCOMPARE(f.recorder.changes.size(), 1);
    QCOMPARE(f.recorder.changes.last().range, expected);
    // A whole image read or loaded is the saved one; every other edit is unsaved.
    QCOMPARE(f.unsaved.unsaved(), op != Op::ReplaceWhole);

    QVERIFY(f.editor.undo());
    QCOMPARE(f.image.bytes(), before);
    QCOMPARE(f.recorder.changes.last().way, ImageChange::Way::Undone);
    QCOMPARE(f.recorder.changes.last().range, expected);
    QCOMPARE(f.unsaved.unsaved(), op == Op::ReplaceWhole);
    QVERIFY(!f.editor.undo());

    QVERIFY(f.editor.redo());
    QCOMPARE(f.image.bytes(), after);
    QCOMPARE(f.recorder.changes.last().way, ImageChange::Way::Redone);
    QVERIFY(!f.editor.redo());
    QCOMPARE(f.editor.history().stepCount(), 1);
}

void ImageEditorTest::savedPointFollowsUndoAndRedo()
{
    Fixture f;
    f.editor.replaceWhole(imageOf(QByteArray(kSize, '\xFF')), EditKind::FileLoad);
    QVERIFY(!f.unsaved.unsaved());
    f.editor.fill({0, 16}, QByteArray(1, '\0'));
    f.editor.paste(0x20, "\x11\x22");
    QVERIFY(f.unsaved.unsaved());

    // Back to the loaded file: saved again.
    QVERIFY(f.editor.undo());
    QVERIFY(f.editor.undo());
    QCOMPARE(f.editor.history().undoKind(), std::optional<EditKind>(EditKind::FileLoad));
    QVERIFY(!f.unsaved.unsaved());
    QVERIFY(f.editor.redo());
    QVERIFY(f.editor.redo());
    QVERIFY(f.unsaved.unsaved());

    // Saving moves the saved point.
    f.editor.markSaved();
    QVERIFY(!f.unsaved.unsaved());
    QVERIFY(f.editor.undo());
    QVERIFY(f.unsaved.unsaved());
    QVERIFY(f.editor.redo());
    QVERIFY(!f.unsaved.unsaved());

    // An edit in place of an undone step that led to the saved image: out of reach for good.
    QVERIFY(f.editor.undo());
    f.editor.setByte(0x80, 0x00);
    QVERIFY(!f.editor.history().canRedo());
    for (int step = 0; step < 3; ++step) {
        QVERIFY(f.unsaved.unsaved());
        QVERIFY(f.editor.undo());
    }
    QVERIFY(f.unsaved.unsaved());
    QCOMPARE(f.image.bytes(), ascending(kSize));
}

void ImageEditorTest::typingOneByteIsOneStep()
{
    Fixture f;
    // "4", then "41" in the hex box.
    f.editor.setByte(0x10, 0x04);
    f.editor.setByte(0x10, 0x41);
    QCOMPARE(f.editor.history().stepCount(), 1);
    QVERIFY(f.editor.undo());
    QCOMPARE(f.image.at(0x10), std::uint8_t{0x10});
    QVERIFY(f.editor.redo());
    QCOMPARE(f.image.at(0x10), std::uint8_t{0x41});

    // Another byte is another step; typing a byte back to its old value takes its step away.
    f.editor.setByte(0x11, 0x00);
    f.editor.setByte(0x11, 0x11);
    QCOMPARE(f.editor.history().stepCount(), 1);
    QVERIFY(f.unsaved.unsaved());
    f.editor.undo();
    QVERIFY(!f.unsaved.unsaved());

    // After a save, the next edit of the same byte is a step of its own.
    f.editor.setByte(0x10, 0x42);
    f.editor.markSaved();
    f.editor.setByte(0x10, 0x43);
    QCOMPARE(f.editor.history().stepCount(), 2);
    f.editor.undo();
    QVERIFY(!f.unsaved.unsaved());

    // Byte Read: a step for each byte read.
    f.editor.setByte(0x20, 0x00, EditKind::ByteRead);
    f.editor.setByte(0x20, 0x01, EditKind::ByteRead);
    QCOMPARE(f.editor.history().undoKind(), std::optional<EditKind>(EditKind::ByteRead));
    QCOMPARE(f.editor.history().undoCount(), 3);
    QVERIFY(!f.editor.setByte(kSize, 0x00));
}

void ImageEditorTest::replaceRefusals_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<int>("result");
    QTest::newRow("empty pattern")
        << QByteArray() << QByteArray() << int(ReplaceOutcome::Result::EmptyPattern);
    QTest::newRow("longer replacement") << QByteArray("\x01") << QByteArray("\x01\x02")
                                        << int(ReplaceOutcome::Result::LengthDiffers);
    QTest::newRow("shorter replacement") << QByteArray("\x01\x02") << QByteArray("\x01")
                                         << int(ReplaceOutcome::Result::LengthDiffers);
}

void ImageEditorTest::replaceRefusals()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, replacement);
    QFETCH(int, result);
    Fixture f;
    QCOMPARE(int(f.editor.replaceAt(1, pattern, replacement).result), result);
    QCOMPARE(int(f.editor.replaceAll(pattern, replacement, {0, kSize}).result), result);
    QCOMPARE(f.image.bytes(), ascending(kSize));
    QVERIFY(!f.editor.history().canUndo());
}

void ImageEditorTest::anotherPartClearsTheHistory()
{
    Fixture f;
    f.editor.fill({0, 16}, QByteArray(1, '\0'));
    MemoryImage larger;
    larger.recreate(2 * kSize);
    f.editor.replaceWhole(larger, EditKind::BufferClear);
    QCOMPARE(f.image.size(), 2 * kSize);
    QVERIFY(!f.editor.history().canUndo());
    QVERIFY(!f.unsaved.unsaved());
    QCOMPARE(f.recorder.changes.last().way, ImageChange::Way::Resized);
    QCOMPARE(f.recorder.changes.last().range, (AddressRange{0, 2 * kSize}));

    // A part chosen by code that re-creates the image behind the editor's back: the steps of the
    // old size are never put into the new image.
    f.editor.fill({0, 16}, QByteArray(1, '\0'));
    f.image.recreate(kSize);
    QVERIFY(!f.editor.undo());
    QCOMPARE(f.image.bytes(), QByteArray(kSize, '\xFF'));
}

// 1,000 Block Reads of a 1 Mbit part that each change every byte: the history keeps the newest
// steps within its budget, and undoing them gives back each image in turn.
void ImageEditorTest::historyStaysWithinItsBudget()
{
    constexpr qint64 kPart = 131072;
    constexpr int kSteps = 1000;
    MemoryImage image;
    image.recreate(kPart);
    UnsavedImage unsaved;
    ImageEditor editor(image, unsaved);
    for (int step = 1; step <= kSteps; ++step) {
        editor.replaceWhole(imageOf(randomBytes(kPart, step)), EditKind::BlockRead);
        QVERIFY(editor.history().storedBytes() <= editor.history().budget());
    }
    QVERIFY(editor.history().budget() < 50'000'000);
    const qint64 kept = editor.history().undoCount();
    QVERIFY2(kept >= 200 && kept < kSteps, qPrintable(QString::number(kept)));
    for (qint64 back = 1; back < kept; ++back) QVERIFY(editor.undo());
    QCOMPARE(image.bytes(), randomBytes(kPart, kSteps - kept + 1));
    QVERIFY(editor.undo());
    QVERIFY(!editor.undo());
    QCOMPARE(image.bytes(), randomBytes(kPart, kSteps - kept));
    QVERIFY(unsaved.unsaved());
}

QTEST_GUILESS_MAIN(ImageEditorTest)
#include "tst_image_editor.moc"
