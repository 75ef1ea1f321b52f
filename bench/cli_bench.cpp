// Times vorle6-cli as a production line runs it, against qzpgm-sim on pseudo-terminals:
//
//   start-up   from starting the program to its first byte on the line (goal < 50 ms)
//   paced read a Block Read of the 1 Mbit part (24C1024) at 57600 bit/s by `vorle6-cli read`,
//              against a bare blocking client on the same emulator in the same run
//              (goal: within 1.02 times)
//   3 boards   the same read on three emulated boards at once (-p three times), against one
//              (goal: within 1.1 times)
//
// Each paced run takes about 23 s. Usage: bench_cli [paced runs (default 1)] [start-ups (7)]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QString kDevice = QStringLiteral("24C1024");
constexpr int kBaud = 57600;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class CliRunner {
public:
    CliRunner()
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_folder.filePath("config"));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
    }

    void start(QProcess& process, const QStringList& arguments) const
    {
        process.setProcessEnvironment(m_environment);
        process.setProgram(QStringLiteral(VORLE_CLI_PROGRAM));
        process.setArguments(arguments + QStringList{"--data", QStringLiteral(VORLE_DATA_FILE)});
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start();
    }

    // Wall seconds of a whole `vorle6-cli read` of the part on `ports`, from the start of the
    // process to its end; every file it writes is checked.
    [[nodiscard]] double read(const QStringList& ports) const
    {
        QStringList arguments{"read", "-d", kDevice, "-q", "-o", m_folder.filePath("read-%p.bin")};
        for (const QString& port : ports) arguments += QStringList{"-p", port};
        QProcess process;
        const auto start = Clock::now();
        this->start(process, arguments);
        process.waitForFinished(-1);
        const double wall = secondsSince(start);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::fprintf(stderr, "vorle6-cli read failed: exit %d\n", process.exitCode());
            std::exit(1);
        }
        for (const QString& port : ports) {
            const QString file = m_folder.filePath("read-" + QFileInfo(port).fileName() + ".bin");
            if (QFileInfo(file).size() != BareReader::kPartSize) {
                std::fprintf(stderr, "%s is not the whole part\n", qPrintable(file));
                std::exit(1);
            }
        }
        return wall;
    }

    [[nodiscard]] QString path(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
};

// Milliseconds from starting `vorle6-cli read` to its first byte on a pseudo-terminal that no
// board answers; the program is then stopped with Ctrl+C.
double startUpMilliseconds(const CliRunner& runner)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) std::exit(1);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));
    // Keeps the line up between the program's close and the master's.
    const int holder = ::open(::ptsname(master), O_RDWR | O_NOCTTY);

    QProcess process;
    const auto start = Clock::now();
    runner.start(process,
                 {"read", "-d", kDevice, "-q", "-p", slave, "-o", runner.path("never.bin")});
    pollfd line{master, POLLIN, 0};
    if (::poll(&line, 1, 10000) != 1) {
        std::fprintf(stderr, "no byte from vorle6-cli\n");
        std::exit(1);
    }
    const double milliseconds = secondsSince(start) * 1000.0;
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    process.waitForFinished(10000);
    if (process.exitCode() != 130) {
        std::fprintf(stderr, "vorle6-cli did not end interrupted: %d\n", process.exitCode());
        std::exit(1);
    }
    ::close(holder);
    ::close(master);
    return milliseconds;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int pacedRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const int startUps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    const CliRunner runner;

    std::vector<double> startUp;
    for (int run = 0; run < startUps; ++run) startUp.push_back(startUpMilliseconds(runner));
    std::printf("start-up to the first byte on the line: median %.1f ms of %d (goal < 50 ms)\n",
                median(startUp), startUps);
    std::fflush(stdout);

    const QStringList paced{QStringLiteral("--baud"), QString::number(kBaud)};
    const Emulator first(dataFile, kDevice, paced);
    const Emulator second(dataFile, kDevice, paced);
    const Emulator third(dataFile, kDevice, paced);
    std::vector<double> one;
    std::vector<double> bare;
    std::vector<double> three;
    for (int run = 0; run < pacedRuns; ++run) {
        one.push_back(runner.read({first.devicePath()}));
        bare.push_back(bareReadMedian(first.devicePath(), 1));
        three.push_back(runner.read({first.devicePath(), second.devicePath(), third.devicePath()}));
        std::fprintf(stderr, "  run %d: vorle6-cli %.3f s, bare client %.3f s, 3 boards %.3f s\n",
                     run + 1, one.back(), bare.back(), three.back());
    }
    const double cli = median(one);
    const double floor = median(bare);
    const double parallel = median(three);
    std::printf("paced read of the %s (%d bytes, %d baud), medians of %d:\n", qPrintable(kDevice),
                BareReader::kPartSize, kBaud, pacedRuns);
    std::printf("  vorle6-cli read   %7.3f s\n", cli);
    std::printf("  bare client       %7.3f s   vorle6-cli / bare = %.4f (goal <= 1.02)\n", floor,
                cli / floor);
    std::printf("  3 boards at once  %7.3f s   3 boards / 1 board = %.4f (goal <= 1.1)\n", parallel,
                parallel / cli);
    return 0;
}
