// Times the window's Block Read of a whole 1 Mbit part (24C1024, 8,192 chunks of 16 bytes) on a
// paced board (qzpgm-sim at 57,600 bit/s) against the bare client of BenchSupport on the same
// board, in the same run, alternating: the main window as users have it (offscreen), with its
// progress bar, time text and status panels, and its control lock. Prints the medians, their
// ratio (goal: at most 1.02) and the window's CPU share while it reads (goal: under 5 %).
//   bench_window_read [runs of each (default 3)]
#include "BenchSupport.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "app/gui/Startup.h"
#include "base/DesktopOpener.h"
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "jobs/ChipJob.h"
#include "link/PortDevices.h"
#include "link/ProgrammerLink.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Answers every box with OK and says what it was; a bench has no one to click.
class AnsweringDialogs : public UserDialogs {
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(request.text));
        return MessageAnswer::Ok;
    }
    FileDialogResult showFileDialog(const FileDialogRequest&) override { return {}; }
    TextInputResult askText(const TextInputRequest&) override { return {}; }
};

class NoDesktop : public DesktopOpener {
public:
    bool openFile(const QString&) override { return true; }
    bool openUrl(const QString&) override { return true; }
};

struct Sample {
    double wall = 0;
    double cpu = 0;
};

}  // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir config;
    QTemporaryDir runtime;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());

    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    Emulator emulator(dataFile, QStringLiteral("24C1024"), {QStringLiteral("--baud"), "57600"});
    {
        SettingsStore settings;
        settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QStringLiteral("0"));
        settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), emulator.devicePath());
    }
    AnsweringDialogs dialogs;
    NoDesktop desktop;
    Startup::Environment environment;
    environment.appFolder = QStringLiteral(VORLE_APP_FOLDER);
    environment.lockFilePath = runtime.filePath(QStringLiteral("vorle6.lock"));
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    Startup startup(environment);
    if (!startup.run() || !startup.mainWindow()) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    MainWindowControls& controls = startup.mainWindow()->controls();
    controls.Combo_device->setCurrentIndex(
        controls.Combo_device->findText(QStringLiteral("24C1024 "), Qt::MatchStartsWith));
    controls.CmbSize->setCurrentIndex(controls.CmbSize->count() - 1);
    app.processEvents();

    std::printf("paced (57600 bit/s) Block Read of a 24C1024 (131072 bytes), %d runs each\n", runs);
    std::fflush(stdout);
    std::vector<double> windowWall, windowCpu, bareWall, bareCpu, coreWall, coreCpu;
    // The same read through the chip-job service alone, in this process: what the window adds
    // to the link's own cost.
    QtSerialPort corePort;
    SteadyLinkClock coreClock;
    ProgrammerLink coreLink(corePort, coreClock);
    ChipJob coreJob(coreLink);
    ChipJobOrder coreOrder;
    coreOrder.kind = ChipJobOrder::Kind::Read;
    coreOrder.link.devicePath = emulator.devicePath();
    coreOrder.request.device = startup.state().selectedDevice;
    coreOrder.request.accessSize = 131072;
    for (int run = 1; run <= runs; ++run) {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        controls.Cmd_READ_all->click();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpu = processCpuSeconds() - cpuStart;
        const QString outcome = startup.mainWindow()->statusPanels().text(1);
        if (!outcome.startsWith(QStringLiteral("読み出し終了"))) {
            std::fprintf(stderr, "the read failed: %s\n", qPrintable(outcome));
            return 1;
        }
        windowWall.push_back(wall);
        windowCpu.push_back(cpu / wall * 100.0);
        {
            BareReader bare(emulator.devicePath());
            const double bareCpuStart = processCpuSeconds();
            bareWall.push_back(bare.read());
            bareCpu.push_back((processCpuSeconds() - bareCpuStart) / bareWall.back() * 100.0);
        }
        const double coreCpuStart = processCpuSeconds();
        const auto coreStart = std::chrono::steady_clock::now();
        const ChipJobOutcome core = coreJob.run(coreOrder);
        if (!core.succeeded()) {
            std::fprintf(stderr, "the chip job's read failed (kind %d, refusal %d, holder %s)\n",
                         static_cast<int>(core.access.kind), static_cast<int>(core.access.refusal),
                         qPrintable(core.access.portFailure.holder));
            return 1;
        }
        coreWall.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - coreStart).count());
        coreCpu.push_back((processCpuSeconds() - coreCpuStart) / coreWall.back() * 100.0);
        std::fprintf(stderr,
                     "  run %d: window %.3f s (CPU %.1f %%), bare %.3f s, chip job %.3f s "
                     "(CPU %.1f %%)\n",
                     run, wall, windowCpu.back(), bareWall.back(), coreWall.back(), coreCpu.back());
    }
    const double window = median(windowWall);
    const double bare = median(bareWall);
    std::printf(
        "medians: window %.3f s, bare client %.3f s (CPU %.1f %%), chip job alone %.3f s "
        "(CPU %.1f %%)\n",
        window, bare, median(bareCpu), median(coreWall), median(coreCpu));
    std::printf("window / bare %.4f (goal <= 1.02); window CPU %.1f %% (goal < 5 %%)\n",
                window / bare, median(windowCpu));
    return 0;
}
