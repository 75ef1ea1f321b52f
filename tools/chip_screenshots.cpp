// Saves two pictures of the main window at work with qzpgm-sim boards, for checking by eye:
//   progress-read.png    a Block Read of a 24C64 at the line rate, part-way through: the
//                        progress bar, the time text and the cancel button in the status bar
//   verify-mismatch.png  a verify that found bytes the chip does not hold: the marked cells and,
//                        beside the window, the list of differences with one line chosen
// Usage: vorle6-chip-screenshots <output-folder> <app-folder> <qzpgm-sim>
// Without a display: QT_QPA_PLATFORM=offscreen:configfile=tests/support/screens/
// desktop-1920x1080.json, so that the window keeps its own size.
#include "SimBoard.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/SettingsStore.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "link/PortDevices.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <memory>

namespace {

const QString kPart = QStringLiteral("24C64");
constexpr qint64 kPartSize = 8192;

// A part that looks like a real one: text, a table and blank space.
QByteArray partContents()
{
    QByteArray bytes(kPartSize, '\xFF');
    const QByteArray text = "VORLE6 demo image. Serial EEPROM 24C64, 8 KiB. ";
    for (qint64 i = 0; i < 0x100; ++i) bytes[i] = text.at(i % text.size());
    for (qint64 i = 0x100; i < 0x400; ++i) bytes[i] = static_cast<char>((i * 7) & 0xFF);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void useBoard(const SimBoard& board)
{
    SettingsStore settings;
    settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), board.device());
    settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QStringLiteral("0"));
}

// The window and, to its right, the list as it stands beside it.
QImage sideBySide(QWidget& window, QWidget& list)
{
    const QPixmap left = window.grab();
    const QPixmap right = list.grab();
    constexpr int kGap = 12;
    QImage picture(left.width() + kGap + right.width(), std::max(left.height(), right.height()),
                   QImage::Format_RGB32);
    picture.fill(window.palette().color(QPalette::Mid));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + kGap, 0, right);
    painter.setPen(window.palette().color(QPalette::Shadow));
    painter.drawRect(left.width() + kGap, 0, right.width() - 1, right.height() - 1);
    return picture;
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: vorle6-chip-screenshots <output> <app-folder> <qzpgm-sim>\n");
        return 2;
    }
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);
    const QString sim = QString::fromLocal8Bit(argv[3]);
    const QString data = QDir(QString::fromLocal8Bit(argv[2])).filePath("vorle6.ini");

    const QByteArray contents = partContents();
    QByteArray changed = contents;
    for (const qint64 address : {0x23, 0x47, 0x48, 0x49, 0x13A, 0x1F0}) {
        changed[address] = static_cast<char>(~changed.at(address));
    }
    const QString goodFile = folder.filePath("good.bin");
    const QString changedFile = folder.filePath("changed.bin");
    if (!writeFile(goodFile, contents) || !writeFile(changedFile, changed)) return 1;
    const QStringList part{"--data", data, "--device", kPart};
    const SimBoard paced(sim, part + QStringList{"--image", goodFile, "--baud", "57600"});
    const SimBoard other(sim, part + QStringList{"--image", changedFile});

    Startup::Environment environment;
    environment.appFolder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    environment.lockFilePath = folder.filePath("vorle6.lock");
    Startup startup(environment);
    if (!startup.run()) return 1;
    MainWindow& window = *startup.mainWindow();
    QComboBox* devices = window.controls().Combo_device;
    devices->setCurrentIndex(devices->findText(kPart + ' ', Qt::MatchStartsWith));
    window.controls().CmbSize->setCurrentIndex(window.controls().CmbSize->count() - 1);

    int result = 0;
    QTimer::singleShot(300, [&] {
        useBoard(paced);
        QTimer::singleShot(700, [&] {
            if (!window.grab().save(output + "/progress-read.png")) result = 1;
        });
        window.controls().Cmd_READ_all->click();

        useBoard(other);
        window.controls().Cmd_VERIFY_all->click();
        DifferencesDialog* list = window.differences().dialog();
        if (!list) {
            result = 1;
        } else {
            list->list()->setCurrentItem(list->list()->topLevelItem(1));
            QCoreApplication::processEvents();
            if (!sideBySide(window, *list).save(output + "/verify-mismatch.png")) result = 1;
        }
        app.quit();
    });
    app.exec();
    return result;
}
