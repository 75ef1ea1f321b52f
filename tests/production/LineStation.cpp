// A station of a production line in a process of its own, for the tests that run two stations
// on one line database: line_station ADDRESS STATION ROUNDS SEED [STALL_ROUND] runs ROUNDS
// rounds on three emulated boards in fake time, with faults chosen by a generator seeded with
// SEED, and prints one line per chip: "chip ID RESULT NUMBERS SERIAL ok" when its record says
// what happened to it, else "... bad WHY". In round STALL_ROUND the first board's thread stops
// dead in the middle of its write, after printing "stalled", for the test to kill the station.
#include "production/RoundRunner.h"
#include "support/TestDevices.h"

#include "support/RoundLines.h"

#include <QCoreApplication>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

const QStringList kPaths{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2"};
constexpr int kWriteChunks = 32;
constexpr int kWritesToMidChunk = 26;

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5) return 2;
    const QString part = QStringLiteral("24C02");
    RoundOrder order;
    order.station = arguments.at(2);
    order.job = roundJob(part, FailurePolicy::Burn);
    order.device = shippedDevice(part);
    const auto address = parseLineDatabaseAddress(arguments.at(1), order.station);
    if (!address) return 2;
    order.database = *address;
    const int rounds = arguments.at(3).toInt();
    std::mt19937 random(arguments.at(4).toUInt());
    const int stallRound = arguments.value(5, QStringLiteral("0")).toInt();

    QTextStream out(stdout);
    RoundLines lines(kPaths, part);
    RoundRunner runner(lines, order, lines.links());
    const LineFailure failure = runner.open();
    if (failure.isFailure()) {
        out << "cannot open: " << failure.detail << Qt::endl;
        return 1;
    }
    for (int round = 1; round <= rounds; ++round) {
        QList<QStringList> faults;
        for (int board = 0; board < kPaths.size(); ++board) {
            faults.append(randomFaults(random, kWriteChunks));
        }
        lines.nextRound(faults);
        if (round == stallRound) {
            lines.atWrite(0, kWritesToMidChunk, [] {
                std::fputs("stalled\n", stdout);
                std::fflush(stdout);
                for (;;) std::this_thread::sleep_for(std::chrono::hours{1});
            });
        }
        const QList<RoundResult> results = runner.runRound();
        lines.settle();
        for (int board = 0; board < kPaths.size(); ++board) {
            const RoundResult& result = results.at(board);
            const QString problem =
                judgeRound(result, lines.board(board), order.job, faults.at(board));
            out << "chip " << result.record.id << ' ' << chipResultName(result.record.result) << ' '
                << numberFateName(result.record.numbers) << ' '
                << result.record.serials.value(0).text << ' '
                << (problem.isEmpty() ? QStringLiteral("ok") : QStringLiteral("bad ") + problem)
                << Qt::endl;
        }
    }
    return 0;
}
