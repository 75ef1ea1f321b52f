// Medians of the window's editing commands on a 1 Mbit (131,072-byte) image on the real main
// window, measured up to a picture of the grid as it then stands (QWidget::grab of MSFGrid1):
//   F3 (find next) of a 4-byte pattern that lies near the end of a random image: the find, the
//     marks of every match, the selection and the scroll to it (goal: under 5 ms), and the same
//     up to the grab; the core's find alone is in bench_editing;
//   Edit > Fill of the whole image (Ctrl+A) with DE AD BE EF, and Edit > Undo of it: the edit,
//     its undo step, the changed rows, the checksum label with its CRC-32 and SHA-256, the byte
//     editor and the selection's summary (goal: under 30 ms each).
// A grab of the unchanged grid is measured too, as the floor under each figure.
//
// Usage: bench_window_editing [runs (default 21)]
#include "OfflineMainWindow.h"
#include "editing/gui/FindCommands.h"
#include "editing/gui/FindDialog.h"
#include "editing/gui/ImageEditing.h"
#include "image/GridAddress.h"
#include "image/gui/ImageView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr qint64 kImageSize = 131072;
constexpr qint64 kPatternAt = 0x1F3A5;

// Every question answered at once: the fill's bytes, Yes and OK.
class AnsweringDialogs : public UserDialogs {
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override
    {
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    FileDialogResult showFileDialog(const FileDialogRequest&) override { return {}; }
    TextInputResult askText(const TextInputRequest&) override
    {
        return {true, QStringLiteral("DE AD BE EF")};
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString ms(double value) { return QString::number(value, 'f', 3) + QStringLiteral(" ms"); }

// The median milliseconds of `runs` calls of `work`, each after `prepare` (not measured).
double medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 21;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    AnsweringDialogs dialogs;
    OfflineMainWindow offline(QStringLiteral(VORLE_DATA_FILE), QStringLiteral("24C1024"), dialogs);
    ProgramState& state = offline.state;
    MainWindow& window = offline.window;
    window.show();
    QCoreApplication::processEvents();

    QByteArray random(kImageSize, Qt::Uninitialized);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(random.data()), kImageSize / 4);
    random.replace(kPatternAt, 4, "\xDE\xAD\xBE\xEF");
    state.editor.paste(0, random);

    MainWindowControls& c = window.controls();
    ImageView& view = window.imageView();
    QTableView* grid = c.MSFGrid1;
    const auto repaint = [grid] { static_cast<void>(grid->grab()); };
    QTextStream out(stdout);
    out << kImageSize << "-byte image, median of " << runs << " runs\n";
    out << "grab of the unchanged grid (the floor): "
        << ms(medianMs(
               runs, [] {}, repaint))
        << "\n";

    window.editing().find().dialog().FindText->setText(QStringLiteral("DE AD BE EF"));
    const auto fromStart = [&] {
        view.setCurrentCell(1, 1);
        repaint();
    };
    const auto findNext = [&] { c.mnuFindNext->trigger(); };
    out << "F3, a 4-byte pattern 0x" << QString::number(kPatternAt, 16).toUpper()
        << " bytes on (goal: under 5 ms): " << ms(medianMs(runs, fromStart, findNext))
        << "; with the grab: "
        << ms(medianMs(runs, fromStart,
                       [&] {
                           findNext();
                           repaint();
                       }))
        << "\n";
    if (view.currentAddress() != kPatternAt) out << "  (not found where it lies)\n";

    std::vector<double> fills, undos;
    for (int run = 0; run < runs; ++run) {
        c.mnuSelectAll->trigger();
        repaint();
        QElapsedTimer timer;
        timer.start();
        c.mnuFill->trigger();
        repaint();
        fills.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        c.mnuUndo->trigger();
        repaint();
        undos.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    out << "Fill of the whole image with DE AD BE EF (goal: under 30 ms): " << ms(median(fills))
        << "\n";
    out << "Undo of it (goal: under 30 ms): " << ms(median(undos)) << "\n";
    return state.image.bytes() == random ? 0 : 1;
}
