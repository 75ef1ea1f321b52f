#pragma once

#include "jobs/ChipJob.h"
#include "jobs/ChipJobObserver.h"
#include "link/StoppedWrites.h"
#include "link/gui/AccessTimeEstimate.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class AccessWindow;
class PortClaim;
class ComparisonView;
class ImageEditor;
class MemoryImage;
class UnsavedImage;
class ProgrammerLink;
class StatusPanels;
class UserDialogs;
struct LinkSettings;
struct SelectedDevice;

// What every command of the window that reaches the chip shares (the access buttons, verify,
// blank check, erase): the control lock around the command, the refusal of a command that
// cannot be carried out, the chip job it runs, the status panels, progress bar and boxes that
// show how it went, and the cancel request. EepromAccess and ChipCheckCommands build their
// commands on it.
//
// One command runs one chip job, which may take several accesses in a row (a write and its
// verify); the lock, and a cancel request, hold for the whole command.
class AccessFrame : public ChipJobObserver {
public:
    // How often at most the progress bar and its time text change while a step runs.
    static constexpr auto kBarInterval = std::chrono::milliseconds{100};

    struct Context {
        ProgrammerLink& link;
        const std::optional<SelectedDevice>& device;  // SelectedDevice
        MemoryImage& image;                           // the memory image
        UnsavedImage& unsaved;                        // whether it holds unsaved edits
        qint64& loadedFileBytes;  // the part size of the file it was loaded from; 0: none
        ImageEditor& editor;      // every change of the image, undoable
        AccessWindow& window;
        StatusPanels& panels;
        UserDialogs& dialogs;
        ComparisonView& comparisons;
        std::function<LinkSettings()> linkSettings;  // the stored port settings, read per command
        QString claimFolder;   // where the port claims and the stopped writes are kept
        QString backupFolder;  // where the chip is saved before a block write or erase
    };
    // What a command does once its job has ended, before panel 1 shows `text` and the controls
    // unlock: takes what was read, marks differences, warns; may add to the text.
    using Finish = std::function<void(const ChipJobOutcome& job, QString& text)>;

    explicit AccessFrame(Context context);
    ~AccessFrame() override;
    AccessFrame(const AccessFrame&) = delete;
    AccessFrame& operator=(const AccessFrame&) = delete;

    [[nodiscard]] const Context& context() const { return m_context; }

    // The control lock of a command: the grid, the access buttons and the byte editor, and
    // the commands that would change the port, device or image under it; panels 1 and 2 and
    // TimeOutFlag cleared; Cmd_Cancel enabled.
    void Lock_Controls();
    // Safe to run twice in a row: the second run changes nothing.
    void Unlock_Controls();

    // A command holds the lock.
    [[nodiscard]] bool running() const { return m_locked; }
    // The running command is writing to the chip: stopping it now leaves the part partly
    // written.
    [[nodiscard]] bool writing() const { return m_job.writing(); }
    // AccessMode of the last command started.
    [[nodiscard]] ::AccessMode accessMode() const { return m_accessMode; }

    // Cmd_Cancel and Esc: the running access stops at its next chunk boundary and the command
    // runs no further access. Nothing happens when no command runs.
    void cancel();
    [[nodiscard]] bool cancelRequested() const { return m_cancelRequested; }

    // The request of the access buttons: the selected device, the access size and, for a byte
    // access, the grid's current cell.
    [[nodiscard]] TransferRequest request(::AccessMode mode) const;
    // A command that cannot be carried out on an image of `imageSize` bytes is refused with its
    // status text before anything is locked or sent; so is one while another runs.
    [[nodiscard]] std::optional<ChipJobOutcome> refusal(const TransferRequest& request,
                                                        std::int64_t imageSize);
    // The outcome of a command the user declined at its question: refused, nothing sent.
    [[nodiscard]] static ChipJobOutcome declinedByTheUser();

    // Locks, runs `order` on the stored link settings and the window's options (reads compared,
    // backup, changed chunks only) with each step's status text, calls `finish`, shows the
    // outcome (with reads that differed in the list of differences, and a box when the backup
    // could not be saved), unlocks.
    ChipJobOutcome run(ChipJobOrder order, const Finish& finish = {});
    // The text panel 1 was given when the last command ended.
    [[nodiscard]] const QString& lastText() const { return m_lastText; }

    // A warning box with `text`.
    void warn(const QString& text);

    void stepStarted(ChipStep step) override;
    void stepFinished(ChipStep step, const AccessOutcome& outcome) override;
    void boardIdentified(const LinkSettings& link, const QString& identification) override;
    void boardNotConnected(const LinkSettings& link) override;
    void replyTimedOut() override;
    void progressed(const AccessProgress& progress) override;

private:
    // The next step of the running command: progress from 0 and `statusText` in panel 1.
    void startPhase(const QString& statusText);
    // The window's options in `order`: how often each read is made, and for a block write or
    // erase the backup and the changed chunks.
    void takeOptions(ChipJobOrder& order) const;
    // Reads that differed, when no comparison of the job's own shows: marked and listed.
    void showReadsCompared(const ChipJobOutcome& job, const QString& text);
    // Panel 1 = `text`, with the box an unusable port or old firmware needs.
    void showOutcome(const AccessOutcome& outcome, const QString& text);

    // The port's claim could not be taken: another program of ours holds it.
    [[nodiscard]] static ChipJobOutcome claimedElsewhere(const ChipJobOrder& order,
                                                         const PortClaim& claim);
    // A backup is asked for but the system names no folder for it: nothing is sent.
    [[nodiscard]] static ChipJobOutcome noBackupFolder();

    Context m_context;
    StoppedWrites m_stoppedWrites;
    ChipJob m_job;
    AccessTimeEstimate m_time;
    ::AccessMode m_accessMode = ::AccessMode::Block;
    int m_stepsStarted = 0;
    QString m_stepText;  // panel 1 while the running step goes on
    QString m_lastText;
    int m_shownPercent = 0;  // panel 3
    int m_barPercent = 0;    // the progress bar
    LinkClock::Duration m_barShownAt{0};
    QString m_shownTime;
    bool m_locked = false;
    bool m_cancelRequested = false;
    std::atomic<bool> m_stop{false};
};
