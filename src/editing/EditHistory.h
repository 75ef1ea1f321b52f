#pragma once

#include "editing/ByteRun.h"
#include "editing/EditKind.h"
#include "editing/ImageChangeObserver.h"

#include <QtGlobal>

#include <cstdint>
#include <deque>
#include <optional>

class MemoryImage;

// The undo and redo steps of one memory image, one step per edit. A step keeps only the bytes
// the edit changed, as runs holding their other version: the former bytes while the edit is
// in force, the edit's own bytes once it is undone. Undo and redo swap a step's runs with the
// image, so every byte is kept once.
//
// What the steps keep is held within a budget: recording a step drops the oldest steps until
// the rest fit (the newest step always stays). The saved point marks the position in the
// history whose image a file or the chip holds; it is forgotten when its steps are dropped or
// when an edit after an undo takes the place of the steps that led to it.
//
// The history holds nothing of the image itself: every change of the image must be recorded
// here, or undoing would put back bytes that are no longer the ones there.
class EditHistory {
public:
    // 32 MiB: 256 steps that each change every byte of a 1 Mbit part.
    static constexpr qint64 kDefaultBudget = qint64{32} * 1024 * 1024;
    // What a step and a run cost beside their bytes (containers, allocation headers).
    static constexpr qint64 kStepOverhead = 96;
    static constexpr qint64 kRunOverhead = 64;

    explicit EditHistory(qint64 budget = kDefaultBudget) : m_budget(budget) {}

    // Records an edit that is in force on the image: `former` holds the bytes it replaced (runs
    // in address order, none empty). Steps that could be redone are dropped.
    void record(EditKind kind, ByteRuns former);
    // A byte editor edit that changed the byte at `address` from `former` to `value`. Typing
    // one byte is one step: the edit is taken into the last step when that is a byte editor
    // edit of the same byte alone with nothing undone, saved or recorded since; a step that
    // thereby gives the byte back its value from before the step is dropped.
    void recordByteEdit(qint64 address, std::uint8_t former, std::uint8_t value);

    // Takes back the last step in force (swapping its runs with `image`); nothing when there is
    // none.
    std::optional<ImageChange> undo(MemoryImage& image);
    // Puts the next undone step back in force.
    std::optional<ImageChange> redo(MemoryImage& image);

    // The image as it stands now is the one a file or the chip holds.
    void markSaved();
    // No steps; the image as it stands is the saved one when `saved`.
    void clear(bool saved);

    [[nodiscard]] bool atSavedPoint() const { return m_saved && *m_saved == m_done; }
    [[nodiscard]] bool canUndo() const { return m_done > 0; }
    [[nodiscard]] bool canRedo() const { return m_done < stepCount(); }
    // The kind of the step undo or redo would take: the window's menu names it.
    [[nodiscard]] std::optional<EditKind> undoKind() const;
    [[nodiscard]] std::optional<EditKind> redoKind() const;
    [[nodiscard]] qint64 undoCount() const { return m_done; }
    [[nodiscard]] qint64 redoCount() const { return stepCount() - m_done; }
    [[nodiscard]] qint64 stepCount() const { return static_cast<qint64>(m_steps.size()); }

    // What the steps keep, overheads included; never above the budget but for a single step
    // larger than the budget.
    [[nodiscard]] qint64 storedBytes() const { return m_stored; }
    [[nodiscard]] qint64 budget() const { return m_budget; }

private:
    struct Step {
        EditKind kind = EditKind::ByteEdit;
        ByteRuns runs;
        qint64 cost = 0;
    };

    [[nodiscard]] bool canMergeByteEdit(qint64 address) const;
    static ImageChange swap(Step& step, MemoryImage& image, ImageChange::Way way);
    void dropRedoSteps();
    void keepWithinBudget();

    std::deque<Step> m_steps;
    qint64 m_done = 0;  // steps in force, from the oldest
    std::optional<qint64> m_saved = qint64{0};
    qint64 m_stored = 0;
    qint64 m_budget = kDefaultBudget;
    bool m_mergeOpen = false;  // the last step may take in further edits of its byte
};
