#pragma once

#include "cli/BoardResult.h"
#include "cli/JobOrder.h"
#include "link/LinkSettings.h"

#include <QList>
#include <QObject>

#include <atomic>
#include <memory>
#include <vector>

class BoardWorker;
class LinkFactory;

// Runs one job on every board of a command: each board on a worker thread of its own with its
// own port and clock, all at once, so three boards take about as long as one. Tests in fake
// time may run the boards one after another on the calling thread instead.
class ParallelRunner : public QObject {
    Q_OBJECT
public:
    enum class Mode { ThreadPerBoard, OneAfterAnother };

    ParallelRunner(LinkFactory& factory, Mode mode);
    ~ParallelRunner() override;

    // Runs `order` on every board of `links` and returns once all have ended, the results in
    // the order of `links`. The calling thread's events are served meanwhile.
    [[nodiscard]] QList<BoardResult> run(const JobOrder& order, const QList<LinkSettings>& links);

    // Asks every board to stop at its next chunk boundary; boards not yet begun send nothing.
    // Call on the thread that called run().
    void stopAll();

signals:
    // A board's progress; `phase` is a ChipStep.
    void progressed(int board, int phase, qint64 done, qint64 total);

private:
    void runThreads();
    void runOneAfterAnother();

    LinkFactory& m_factory;
    Mode m_mode;
    std::vector<std::unique_ptr<BoardWorker>> m_workers;
    bool m_stopped = false;
};
