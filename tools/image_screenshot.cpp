// Saves a picture of the main window holding a 256-byte image with text and half-width
// katakana, for checking the grid's columns and the byte editor by eye.
// Usage: vorle6-image-screenshot <output.png>
#include "OfflineMainWindow.h"
#include "image/gui/ImageView.h"

#include <QApplication>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    QuietDialogs dialogs;
    OfflineMainWindow offline(QStringLiteral(VORLE_DATA_FILE), QStringLiteral("24C02"), dialogs);
    ProgramState& state = offline.state;
    MainWindow& window = offline.window;

    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray text =
        shiftJis.encode(QStringLiteral("VORLE EEPROM image, \"24C02\" 256 bytes. ｼﾘｱﾙ ｲｰﾋﾟｰﾛﾑ "
                                       "ﾌﾟﾛｸﾞﾗﾏｰ ﾃｽﾄ ﾃﾞｰﾀ｡ 0123456789 ABCDEF abcdef ~!@#$%^&*()"));
    for (qint64 a = 0; a < text.size() && a < state.image.size(); ++a) {
        state.image.set(a, static_cast<std::uint8_t>(text.at(a)));
    }
    for (qint64 a = 0xC0; a < state.image.size(); ++a)
        state.image.set(a, static_cast<std::uint8_t>(a));
    window.controls().DataCombo1->hide();
    window.show();
    window.imageView().ShowImage();
    window.imageView().setCurrentCell(2, 9);
    window.imageView().MSFGrid1_Click();
    QCoreApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
