// Saves the manual's pictures of the editing commands, taken with QWidget::grab on the main
// window in-process (offscreen works), in the window's language (--lang en for English):
//   editing-selection.png  a 24C02 image with a selection and its summary in the status bar
//   editing-menu.png       the Edit menu
//   editing-find.png       the grid after a find, its matches marked, beside the find window
//   editing-words.png      a 93C66 shown as 16-bit words
// Usage: vorle6-editing-screenshots [--lang ja|en] <output-folder>
#include "OfflineMainWindow.h"
#include "base/UiLanguage.h"
#include "editing/gui/FindCommands.h"
#include "editing/gui/FindDialog.h"
#include "editing/gui/ImageEditing.h"
#include "image/gui/ImageView.h"
#include "ui/ProgramTranslations.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Two pictures side by side on the window's background.
QImage sideBySide(const QPixmap& left, const QPixmap& right, const QColor& background)
{
    constexpr int kGap = 12;
    const qreal ratio = left.devicePixelRatio();
    const QSize size(left.width() + kGap + right.width(), std::max(left.height(), right.height()));
    QImage picture(size, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(background);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(QPointF(left.width() / ratio + kGap / ratio, 0), right);
    return picture;
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    UiLanguage language = UiLanguage::Japanese;
    if (arguments.size() > 1 && arguments.first() == QLatin1String("--lang")) {
        const std::optional<UiLanguage> chosen = languageFromCode(arguments.at(1));
        if (!chosen) return 2;
        language = *chosen;
        arguments = arguments.mid(2);
    }
    if (arguments.size() != 1) return 2;
    const QString output = arguments.first();
    QDir().mkpath(output);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    ProgramTranslations translations;
    translations.install(language, QStringLiteral(VORLE_APP_FOLDER "/"));
    QuietDialogs dialogs(MessageAnswer::Yes);
    OfflineMainWindow offline(QStringLiteral(VORLE_DATA_FILE), QStringLiteral("24C02"), dialogs,
                              language);
    ProgramState& state = offline.state;
    MainWindow& window = offline.window;
    window.controls().DataCombo1->hide();
    window.resize(1000, 560);
    window.show();

    // A settings block as a dashboard or a network card keeps one: a name, a serial number, a
    // MAC address, a counter.
    QStringEncoder shiftJis("Shift_JIS");
    QByteArray image = shiftJis.encode(QStringLiteral("VORLE EEPROM  ｾｯﾃｲ"));
    image.append(QByteArray::fromHex("0001E240000000FF"));
    image.append(QByteArray::fromHex("02005E10A0C4FFFF"));
    image.append("SN:24031-0117  ");
    image.append(QByteArray::fromHex("0000C3500000C350"));
    image.append(shiftJis.encode(QStringLiteral("EEPROM TEST ﾃﾞｰﾀ")));
    while (image.size() < 256) image.append(static_cast<char>(image.size() * 7));
    state.editor.paste(0, image.left(256));
    ImageView& view = window.imageView();
    view.ShowImage();

    view.selectRange(0x10, 0x27);
    settle();
    window.grab().save(output + "/editing-selection.png");

    QMenu* edit = window.controls().mnuEdit;
    edit->popup(window.mapToGlobal(QPoint(40, 30)));
    settle();
    edit->grab().save(output + "/editing-menu.png");
    edit->hide();

    FindDialog& find = window.editing().find().dialog();
    window.editing().find().mnuFind_Click();
    find.FindForm->setCurrentIndex(1);
    find.FindText->setText(QStringLiteral("EEPROM"));
    view.setCurrentCell(1, 1);
    window.controls().mnuFindNext->trigger();
    window.controls().mnuFindNext->trigger();
    settle();
    sideBySide(window.grab(), find.grab(), window.palette().color(QPalette::Window))
        .save(output + "/editing-find.png");
    find.hide();

    window.controls().Combo_device->setCurrentIndex(
        state.catalogue.indexOf(QStringLiteral("AT93C66")));
    state.editor.paste(0, QByteArray::fromHex("A5C30102BEEF00201234FFFF00000000"
                                              "5A3C10000F0F8000DEADC0DE7FFF0001"));
    window.controls().mnuView16->trigger();
    view.selectRange(0x10, 0x17);
    settle();
    window.grab().save(output + "/editing-words.png");
    return 0;
}
