#pragma once

#include "cli/CliProgram.h"
#include "cli/LinkFactory.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>

// Emulated boards for vorle6-cli in fake time, one line per device path, each line with a
// clock of its own: the boards run on worker threads as in the program, and each one's fake
// time still moves only with its own accesses. A path without a board does not open.
class EmulatedLines final : public LinkFactory {
public:
    EmulatedBoard& add(const QString& path, const QString& part, const QStringList& faults = {},
                       const QString& firmware = QStringLiteral("6.00"))
    {
        auto line = std::make_unique<Line>();
        EmulatedBoard& board = line->boards.add(path, EmulatedBoards::part(part),
                                                EmulatedBoards::faults(faults, firmware));
        m_lines[path] = std::move(line);
        return board;
    }
    [[nodiscard]] FakeLinkClock& clock(const QString& path) { return m_lines.at(path)->clock; }

    [[nodiscard]] std::unique_ptr<SerialPort> makePort(const LinkSettings& link) override
    {
        const auto found = m_lines.find(link.devicePath);
        return std::make_unique<EmulatedPort>(found == m_lines.end() ? m_nowhere
                                                                     : found->second->boards);
    }
    [[nodiscard]] std::unique_ptr<LinkClock> makeClock(const LinkSettings& link) override
    {
        const auto found = m_lines.find(link.devicePath);
        if (found == m_lines.end()) return std::make_unique<FakeLinkClock>();
        return std::make_unique<SharedClock>(found->second->clock);
    }

private:
    struct Line {
        FakeLinkClock clock;
        EmulatedBoards boards{clock};
    };
    // The line's clock handed to the one port on it.
    class SharedClock final : public LinkClock {
    public:
        explicit SharedClock(FakeLinkClock& clock) : m_clock(clock) {}
        [[nodiscard]] Duration now() const override { return m_clock.now(); }
        void pause(std::chrono::milliseconds duration) override { m_clock.pause(duration); }
        void pumpEvents() override { m_clock.pumpEvents(); }
        void sleepUntil(Duration deadline, SerialPort& port, int count) override
        {
            m_clock.sleepUntil(deadline, port, count);
        }
        void wake() override { m_clock.wake(); }

    private:
        FakeLinkClock& m_clock;
    };

    std::map<QString, std::unique_ptr<Line>> m_lines;
    FakeLinkClock m_nowhereClock;
    EmulatedBoards m_nowhere{m_nowhereClock};  // no board: opening fails
};

// What one run of vorle6-cli left.
struct CliRun {
    int exitCode = -1;
    QByteArray output;  // standard output, as bytes
    QString errors;     // standard error

    [[nodiscard]] QString outputText() const { return QString::fromUtf8(output); }
};

// vorle6-cli in process: its own settings, the shipped data file beside it, port claims in a
// folder of its own, and emulated boards.
struct CliFixture {
    CliRun run(const QStringList& arguments,
               ParallelRunner::Mode mode = ParallelRunner::Mode::ThreadPerBoard,
               const QByteArray& input = {}, const std::function<void(CliProgram&)>& beforeRun = {})
    {
        QBuffer in;
        in.setData(input);
        in.open(QIODevice::ReadOnly);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QBuffer err;
        err.open(QIODevice::WriteOnly);
        CliEnvironment environment;
        environment.appFolder = settings.appFolder();
        environment.claimFolder = claims.path();
        environment.input = &in;
        environment.output = &out;
        environment.errors = &err;
        environment.links = &lines;
        environment.mode = mode;
        CliProgram program(environment);
        if (beforeRun) beforeRun(program);
        CliRun result;
        result.exitCode = program.run(QStringList{QStringLiteral("vorle6-cli")} + arguments);
        result.output = out.data();
        result.errors = QString::fromUtf8(err.data());
        return result;
    }

    // A path in the test's own folder.
    [[nodiscard]] QString path(const QString& name) const { return files.filePath(name); }

    TestEnvironment settings;
    QTemporaryDir claims;
    QTemporaryDir files;
    EmulatedLines lines;
};
