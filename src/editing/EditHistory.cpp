#include "editing/EditHistory.h"

#include "image/MemoryImage.h"

namespace {

qint64 costOf(const ByteRuns& runs)
{
    qint64 cost = EditHistory::kStepOverhead;
    for (const ByteRun& run : runs) cost += run.bytes.size() + EditHistory::kRunOverhead;
    return cost;
}

}  // namespace

void EditHistory::record(EditKind kind, ByteRuns former)
{
    if (former.isEmpty()) return;
    dropRedoSteps();
    Step step;
    step.kind = kind;
    step.cost = costOf(former);
    step.runs = std::move(former);
    m_stored += step.cost;
    m_steps.push_back(std::move(step));
    ++m_done;
    m_mergeOpen = kind == EditKind::ByteEdit;
    keepWithinBudget();
}

bool EditHistory::canMergeByteEdit(qint64 address) const
{
    if (!m_mergeOpen || m_done == 0 || canRedo() || atSavedPoint()) return false;
    const Step& last = m_steps.back();
    return last.kind == EditKind::ByteEdit && last.runs.size() == 1 &&
           last.runs.front().address == address && last.runs.front().bytes.size() == 1;
}

void EditHistory::recordByteEdit(qint64 address, std::uint8_t former, std::uint8_t value)
{
    if (!canMergeByteEdit(address)) {
        record(EditKind::ByteEdit, {{address, QByteArray(1, static_cast<char>(former))}});
        return;
    }
    if (static_cast<std::uint8_t>(m_steps.back().runs.front().bytes.at(0)) != value) return;
    m_stored -= m_steps.back().cost;
    m_steps.pop_back();
    --m_done;
    m_mergeOpen = false;
}

ImageChange EditHistory::swap(Step& step, MemoryImage& image, ImageChange::Way way)
{
    ImageChange change;
    change.kind = step.kind;
    change.way = way;
    for (ByteRun& run : step.runs) {
        QByteArray current = image.bytes(run.address, run.bytes.size());
        image.write(run.address, run.bytes);
        run.bytes = std::move(current);
        change.range = change.range.spanWith({run.address, run.bytes.size()});
    }
    return change;
}

std::optional<ImageChange> EditHistory::undo(MemoryImage& image)
{
    if (!canUndo()) return std::nullopt;
    m_mergeOpen = false;
    --m_done;
    return swap(m_steps[static_cast<std::size_t>(m_done)], image, ImageChange::Way::Undone);
}

std::optional<ImageChange> EditHistory::redo(MemoryImage& image)
{
    if (!canRedo()) return std::nullopt;
    m_mergeOpen = false;
    ImageChange change =
        swap(m_steps[static_cast<std::size_t>(m_done)], image, ImageChange::Way::Redone);
    ++m_done;
    return change;
}

void EditHistory::markSaved()
{
    m_saved = m_done;
    m_mergeOpen = false;
}

void EditHistory::clear(bool saved)
{
    m_steps.clear();
    m_done = 0;
    m_stored = 0;
    m_saved = saved ? std::optional<qint64>(0) : std::nullopt;
    m_mergeOpen = false;
}

std::optional<EditKind> EditHistory::undoKind() const
{
    if (!canUndo()) return std::nullopt;
    return m_steps[static_cast<std::size_t>(m_done - 1)].kind;
}

std::optional<EditKind> EditHistory::redoKind() const
{
    if (!canRedo()) return std::nullopt;
    return m_steps[static_cast<std::size_t>(m_done)].kind;
}

void EditHistory::dropRedoSteps()
{
    if (m_saved && *m_saved > m_done) m_saved.reset();
    while (canRedo()) {
        m_stored -= m_steps.back().cost;
        m_steps.pop_back();
    }
}

void EditHistory::keepWithinBudget()
{
    while (m_stored > m_budget && m_steps.size() > 1) {
        m_stored -= m_steps.front().cost;
        m_steps.pop_front();
        --m_done;
        if (m_saved) {
            if (*m_saved == 0) {
                m_saved.reset();
            } else {
                --*m_saved;
            }
        }
    }
}
