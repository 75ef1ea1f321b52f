#include "ui/gui/SupportPage.h"

#include "base/DesktopOpener.h"
#include "base/FileExists.h"
#include "base/ProductInfo.h"
#include "base/UserDialogs.h"
#include "ui/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace SupportPage {

QString pathIn(const QString& appFolder, UiLanguage language)
{
    const QString manual = HelpFile::relativePath(language);
    if (manual.isEmpty()) return QString();
    return appFolder + QFileInfo(manual).path() + QStringLiteral("/support.html");
}

void open(const QString& appFolder, UserDialogs& dialogs, DesktopOpener& desktop,
          UiLanguage language)
{
    const QString page = pathIn(appFolder, language);
    MessageBoxRequest message;
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Warning;
    if (page.isEmpty() || !FileExists(page)) {
        message.text =
            QCoreApplication::translate("SupportPage", "サポートページが見つかりません。\r\n%1")
                .arg(QDir::toNativeSeparators(page));
    } else if (!desktop.openFile(page)) {
        message.text =
            QCoreApplication::translate(
                "SupportPage", "サポートページを表示するプログラムを起動できませんでした。\r\n%1")
                .arg(QDir::toNativeSeparators(page));
    } else {
        return;
    }
    dialogs.showMessage(message);
}

}  // namespace SupportPage
