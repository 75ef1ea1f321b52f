#include "editing/ImageEditor.h"

#include "editing/ChangedRuns.h"
#include "editing/ImageChangeObserver.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"

#include <algorithm>
#include <cstring>

ImageEditor::ImageEditor(MemoryImage& image, UnsavedImage& unsaved, qint64 historyBudget)
    : m_image(image), m_unsaved(unsaved), m_history(historyBudget), m_historySize(image.size())
{
    m_history.clear(!unsaved.unsaved());
}

void ImageEditor::forgetOutsideResize()
{
    // Steps of an image of another size would put bytes in the wrong places: something
    // re-created the image without telling the editor.
    if (m_image.size() == m_historySize) return;
    m_history.clear(!m_unsaved.unsaved());
    m_historySize = m_image.size();
}

bool ImageEditor::setByte(qint64 address, std::uint8_t value, EditKind kind)
{
    forgetOutsideResize();
    if (!m_image.contains(address)) return false;
    const std::uint8_t former = m_image.at(address);
    if (former == value) return true;
    m_image.set(address, value);
    if (kind == EditKind::ByteEdit) {
        m_history.recordByteEdit(address, former, value);
    } else {
        m_history.record(kind, {{address, QByteArray(1, static_cast<char>(former))}});
    }
    settle({kind, ImageChange::Way::Done, {address, 1}});
    return true;
}

EditOutcome ImageEditor::fill(AddressRange range, QByteArrayView pattern)
{
    EditOutcome outcome;
    range = range.clippedTo(m_image.size());
    if (pattern.isEmpty() || range.isEmpty()) return outcome;
    QByteArray after(range.length, Qt::Uninitialized);
    for (qint64 at = 0; at < range.length; at += pattern.size()) {
        std::memcpy(after.data() + at, pattern.data(),
                    std::min<qint64>(pattern.size(), range.length - at));
    }
    outcome.written = range.length;
    outcome.changed = commit(EditKind::Fill, range.start, after);
    return outcome;
}

qint64 ImageEditor::pasteOverrun(qint64 address, qint64 length) const
{
    const AddressRange wanted{address, length};
    return std::max<qint64>(0, wanted.length - wanted.clippedTo(m_image.size()).length);
}

EditOutcome ImageEditor::paste(qint64 address, QByteArrayView bytes)
{
    return writeRuns(address, {{0, bytes.toByteArray()}}, EditKind::Paste);
}

EditOutcome ImageEditor::writeRuns(qint64 target, const ByteRuns& runs, EditKind kind)
{
    EditOutcome outcome;
    AddressRange span;
    for (const ByteRun& run : runs) {
        const AddressRange wanted{target + run.address, run.bytes.size()};
        const AddressRange inside = wanted.clippedTo(m_image.size());
        outcome.written += inside.length;
        outcome.leftOut += wanted.length - inside.length;
        span = span.spanWith(inside);
    }
    if (span.isEmpty()) return outcome;
    QByteArray after = m_image.bytes(span.start, span.length);
    for (const ByteRun& run : runs) {
        const AddressRange inside =
            AddressRange{target + run.address, run.bytes.size()}.clippedTo(m_image.size());
        if (inside.isEmpty()) continue;
        std::memcpy(after.data() + (inside.start - span.start),
                    run.bytes.constData() + (inside.start - target - run.address), inside.length);
    }
    outcome.changed = commit(kind, span.start, after);
    return outcome;
}

namespace {

// A replace that cannot be done whatever the image holds; NoMatch when it can.
ReplaceOutcome refusal(QByteArrayView pattern, QByteArrayView replacement)
{
    ReplaceOutcome outcome;
    if (pattern.isEmpty()) {
        outcome.result = ReplaceOutcome::Result::EmptyPattern;
    } else if (replacement.size() != pattern.size()) {
        outcome.result = ReplaceOutcome::Result::LengthDiffers;
    }
    return outcome;
}

}  // namespace

ReplaceOutcome ImageEditor::replaceAt(qint64 address, QByteArrayView pattern,
                                      QByteArrayView replacement)
{
    ReplaceOutcome outcome = refusal(pattern, replacement);
    if (outcome.result != ReplaceOutcome::Result::NoMatch) return outcome;
    if (address < 0 || address + pattern.size() > m_image.size() ||
        QByteArrayView(m_image.bytes()).sliced(address, pattern.size()) != pattern) {
        return outcome;
    }
    outcome.result = ReplaceOutcome::Result::Replaced;
    outcome.count = 1;
    outcome.changed = commit(EditKind::Replace, address, replacement.toByteArray());
    return outcome;
}

ReplaceOutcome ImageEditor::replaceAll(QByteArrayView pattern, QByteArrayView replacement,
                                       AddressRange within)
{
    ReplaceOutcome outcome = refusal(pattern, replacement);
    if (outcome.result != ReplaceOutcome::Result::NoMatch) return outcome;
    within = within.clippedTo(m_image.size());
    // Matches may end past `within` but not past the image.
    const AddressRange searched = AddressRange::upTo(
        within.start, std::min(m_image.size(), within.end() + pattern.size() - 1));
    if (within.isEmpty()) return outcome;
    QByteArray after = m_image.bytes(searched.start, searched.length);
    qsizetype at = after.indexOf(pattern, 0);
    while (at >= 0 && at < within.length) {
        std::memcpy(after.data() + at, replacement.data(), replacement.size());
        ++outcome.count;
        at = after.indexOf(pattern, at + pattern.size());
    }
    if (outcome.count == 0) return outcome;
    outcome.result = ReplaceOutcome::Result::Replaced;
    outcome.changed = commit(EditKind::ReplaceAll, searched.start, after);
    return outcome;
}

void ImageEditor::replaceWhole(MemoryImage image, EditKind kind)
{
    forgetOutsideResize();
    if (image.size() != m_image.size()) {
        m_image = std::move(image);
        m_historySize = m_image.size();
        m_history.clear(true);
        settle({kind, ImageChange::Way::Resized, {0, m_image.size()}});
        return;
    }
    ByteRuns former = changedRuns(m_image.bytes(), image.bytes(), 0);
    AddressRange changed;
    for (const ByteRun& run : former) changed = changed.spanWith({run.address, run.bytes.size()});
    m_image = std::move(image);
    m_history.record(kind, std::move(former));
    m_history.markSaved();
    settle({kind, ImageChange::Way::Done, changed});
}

bool ImageEditor::undo()
{
    forgetOutsideResize();
    const std::optional<ImageChange> change = m_history.undo(m_image);
    if (change) settle(*change);
    return change.has_value();
}

bool ImageEditor::redo()
{
    forgetOutsideResize();
    const std::optional<ImageChange> change = m_history.redo(m_image);
    if (change) settle(*change);
    return change.has_value();
}

void ImageEditor::markSaved()
{
    m_history.markSaved();
    m_unsaved.markKept();
}

AddressRange ImageEditor::commit(EditKind kind, qint64 address, const QByteArray& after)
{
    forgetOutsideResize();
    const QByteArray before = m_image.bytes(address, after.size());
    ByteRuns former = changedRuns(before, after, address);
    if (former.isEmpty()) return {};
    const AddressRange changed = AddressRange::upTo(former.front().address, former.back().end());
    m_image.write(address, after);
    m_history.record(kind, std::move(former));
    settle({kind, ImageChange::Way::Done, changed});
    return changed;
}

void ImageEditor::settle(const ImageChange& change)
{
    if (m_history.atSavedPoint()) {
        m_unsaved.markKept();
    } else {
        m_unsaved.markChanged();
    }
    if (m_observer) m_observer->imageChanged(change);
}
