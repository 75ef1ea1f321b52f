#include "ui/gui/HelpContents.h"

#include "base/DesktopOpener.h"
#include "base/FileExists.h"
#include "base/ProductInfo.h"
#include "base/UserDialogs.h"

#include <QCoreApplication>
#include <QDir>

void showHelpContents(const QString& helpFile, const QString& ownerCaption, UserDialogs& dialogs,
                      DesktopOpener& desktop)
{
    if (helpFile.isEmpty() || !FileExists(helpFile)) {
        MessageBoxRequest message;
        message.text = QCoreApplication::translate(
            "HelpContents",
            "ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
        message.title = ownerCaption;
        message.icon = MessageIcon::Information;
        dialogs.showMessage(message);
        return;
    }
    if (desktop.openFile(helpFile)) return;

    MessageBoxRequest message;
    message.text = QCoreApplication::translate(
                       "HelpContents", "ヘルプを表示するプログラムを起動できませんでした。\r\n%1")
                       .arg(QDir::toNativeSeparators(helpFile));
    message.title = ProductInfo::kApplicationTitle;
    dialogs.showMessage(message);
}
