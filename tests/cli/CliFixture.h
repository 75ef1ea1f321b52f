#pragma once

#include "cli/CliProgram.h"
#include "link/LinkFactory.h"
#include "link/PortHolders.h"
#include "link/SerialDevices.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/SharedFakeClock.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <vector>

// Emulated boards for vorle6-cli in fake time, one line per device path, each line with a
// clock of its own: the boards run on worker threads as in the program, and each one's fake
// time still moves only with its own accesses. A path without a board does not open. With
// `oneClock`, every line runs on one clock instead, for code that asks several devices in turn
// on one thread (detect --search).
class EmulatedLines final : public LinkFactory {
public:
    explicit EmulatedLines(bool oneClock = false) : m_oneClock(oneClock) {}

    EmulatedBoard& add(const QString& path, const QString& part, const QStringList& faults = {},
                       const QString& firmware = QStringLiteral("6.00"))
    {
        Line* line = &m_common;
        if (!m_oneClock) {
            m_own.push_back(std::make_unique<Line>());
            line = m_own.back().get();
        }
        m_lines[path] = line;
        return line->boards.add(path, EmulatedBoards::part(part),
                                EmulatedBoards::faults(faults, firmware));
    }
    [[nodiscard]] FakeLinkClock& clock(const QString& path) { return m_lines.at(path)->clock; }

    [[nodiscard]] std::unique_ptr<SerialPort> makePort(const LinkSettings& link) override
    {
        const auto found = m_lines.find(link.devicePath);
        return std::make_unique<EmulatedPort>(found == m_lines.end() ? m_common.boards
                                                                     : found->second->boards);
    }
    [[nodiscard]] std::unique_ptr<LinkClock> makeClock(const LinkSettings& link) override
    {
        if (m_oneClock) return std::make_unique<SharedFakeClock>(m_common.clock);
        const auto found = m_lines.find(link.devicePath);
        if (found == m_lines.end()) return std::make_unique<FakeLinkClock>();
        return std::make_unique<SharedFakeClock>(found->second->clock);
    }

private:
    struct Line {
        FakeLinkClock clock;
        EmulatedBoards boards{clock};
    };
    bool m_oneClock = false;
    std::map<QString, Line*> m_lines;
    std::vector<std::unique_ptr<Line>> m_own;
    // The boards of the one clock, and the board-less line of paths without a board: opening
    // one of those fails.
    Line m_common;
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
    explicit CliFixture(bool oneClock = false) : lines(oneClock) {}

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
        environment.devices = devices;
        environment.holders = holders;
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
    const SerialDevices* devices = nullptr;  // for detect --search
    const PortHolders* holders = nullptr;
};
