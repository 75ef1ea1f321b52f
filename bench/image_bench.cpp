// Times the grid rebuild (ShowImage: grid, listing file, checksum, editor) for a 1 Mbit image
// and the device change to a 1 Mbit part, on the real main window (offscreen platform).
// Prints medians of the wall-clock time and of the thread's CPU time, the latter being less
// disturbed by other work on the machine.
// Usage: QT_QPA_PLATFORM=offscreen vorle6-bench-image [runs]
#include "OfflineMainWindow.h"
#include "image/gui/ImageView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs `prepare` (untimed) and `action` (timed) `runs` times and prints the medians.
void measure(const char* name, int runs, const std::function<void()>& prepare,
             const std::function<void()>& action)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        const double cpuStart = threadCpuMilliseconds();
        timer.start();
        action();
        wall.push_back(timer.nsecsElapsed() / 1e6);
        cpu.push_back(threadCpuMilliseconds() - cpuStart);
    }
    std::printf("%-58s median %6.2f ms wall, %6.2f ms CPU\n", name, median(wall), median(cpu));
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 21;

    QuietDialogs dialogs;
    OfflineMainWindow offline(QStringLiteral(VORLE_DATA_FILE), QStringLiteral("24C02"), dialogs);
    ProgramState& state = offline.state;
    MainWindow& window = offline.window;
    window.show();
    QCoreApplication::processEvents();

    QComboBox* devices = window.controls().Combo_device;
    const int small = state.catalogue.indexOf(QStringLiteral("24C02"));
    const int large = state.catalogue.indexOf(QStringLiteral("24C1024"));
    devices->setCurrentIndex(large);
    for (qint64 a = 0; a < state.image.size(); ++a) {
        state.image.set(a, static_cast<std::uint8_t>((a * 7 + a / 16) & 0xFF));
    }
    ImageView& view = window.imageView();
    // As in use, the window has been painted before each command.
    const auto painted = [&] { window.repaint(); };

    std::printf("%d runs, image of %lld bytes\n", runs, static_cast<long long>(state.image.size()));
    measure("ShowImage (grid, listing file, checksum, editor)", runs, painted,
            [&] { view.ShowImage(); });
    measure("ShowImage and the repaint of the window after it", runs, painted, [&] {
        view.ShowImage();
        window.repaint();
    });
    measure(
        "device change 24C02 -> 24C1024 (1 Mbit)", runs,
        [&] {
            devices->setCurrentIndex(small);
            window.repaint();
        },
        [&] { devices->setCurrentIndex(large); });
    // The image's share of a device change; the rest is the device panel and the settings store.
    measure("ClearImage for the 1 Mbit part", runs, painted, [&] { view.ClearImage(); });
    measure(
        "device change 24C02 -> 24C1024 and the repaint after it", runs,
        [&] {
            devices->setCurrentIndex(small);
            window.repaint();
        },
        [&] {
            devices->setCurrentIndex(large);
            window.repaint();
        });
    return 0;
}
