// Start-up time and memory: the time from process start to the main window shown, and the
// resident memory once it is shown. Runs the start-up in fresh child processes, each with its
// own settings and runtime folders, and prints the medians.
//   bench_startup [runs]
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::Environment environment;
    environment.appFolder = QStringLiteral(VORLE_APP_FOLDER);
    environment.lockFilePath = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/vorle6.lock";
    Startup startup(environment);
    if (!startup.run()) return 1;
    QTimer::singleShot(0, [&] {
        std::printf("%.3f %ld\n", monotonicMs(), residentKiB());
        app.quit();
    });
    return app.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) return runChild(argc, argv);

    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    std::vector<double> startMs, rssMiB;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir config, runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        if (!env.contains("QT_QPA_PLATFORM")) env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess child;
        child.setProcessEnvironment(env);
        const double launched = monotonicMs();
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i,
                         child.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 2) return 1;
        startMs.push_back(fields[0].toDouble() - launched);
        rssMiB.push_back(fields[1].toDouble() / 1024.0);
    }
    std::printf("start-up to main window shown: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                median(startMs), *std::min_element(startMs.begin(), startMs.end()),
                *std::max_element(startMs.begin(), startMs.end()), runs);
    std::printf("resident memory once shown:    median %.1f MiB\n", median(rssMiB));
    return 0;
}
