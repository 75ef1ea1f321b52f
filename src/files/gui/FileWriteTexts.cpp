#include "files/gui/FileWriteTexts.h"

#include "base/SpecialFile.h"
#include "files/FileReplacement.h"

#include <QCoreApplication>
#include <QDir>

QString writeFailureText(const FileWriteFailure& failure)
{
    using Cause = FileWriteFailure::Cause;
    const QString path = QDir::toNativeSeparators(failure.path);
    switch (failure.cause) {
        case Cause::None:
            break;
        case Cause::NotRegularFile:
            return notRegularFileText();
        case Cause::Folder:
            return QCoreApplication::translate("FileReplacement", "保存先はフォルダーです。");
        case Cause::NoFolder:
            return QCoreApplication::translate("FileReplacement", "フォルダー %1 がありません。")
                .arg(path);
        case Cause::WriteProtected:
            return QCoreApplication::translate("FileReplacement",
                                               "ファイルへの書き込みが許可されていません。");
        case Cause::FolderWriteProtected:
            return QCoreApplication::translate(
                       "FileReplacement",
                       "フォルダー %1 に書き込めないため、"
                       "元のファイルを残したまま新しいファイルを書くことができません。")
                .arg(path);
        case Cause::DiskFull:
            return QCoreApplication::translate("FileReplacement", "ディスクの空き容量が足りません");
        case Cause::CutShort:
            return QCoreApplication::translate("FileReplacement",
                                               "ファイルへの書き込みが途中で止まりました。");
        case Cause::System:
            return failure.systemText;
    }
    return QString();
}

QString notRegularFileText()
{
    return QCoreApplication::translate(
        "RegularFile", "通常のファイルではありません（名前付きパイプやデバイスファイルなど）。");
}

QString settingsSetAsideText(const SetAsideFile& file)
{
    const QString path = QDir::toNativeSeparators(file.path);
    if (!file.moved()) {
        return QCoreApplication::translate("FileWriteTexts",
                                           "設定ファイル %1 は通常のファイルではありませんが、"
                                           "名前を変えられませんでした（%2）。\r\n"
                                           "今回の設定は保存されません。")
            .arg(path, file.systemText);
    }
    return QCoreApplication::translate("FileWriteTexts",
                                       "設定ファイル %1 は通常のファイルではない"
                                       "（名前付きパイプやデバイスファイルなど）ため、"
                                       "%2 に名前を変えて、新しい設定で起動しました。")
        .arg(path, QDir::toNativeSeparators(file.newPath));
}

QString listingSetAsideText(const SetAsideFile& file)
{
    const QString path = QDir::toNativeSeparators(file.path);
    if (!file.moved()) {
        return QCoreApplication::translate("FileWriteTexts",
                                           "テキストデータのファイル %1 は通常のファイルでは"
                                           "ありませんが、名前を変えられませんでした（%2）。")
            .arg(path, file.systemText);
    }
    return QCoreApplication::translate("FileWriteTexts",
                                       "テキストデータのファイル %1 は通常のファイルではない"
                                       "（名前付きパイプやデバイスファイルなど）ため、"
                                       "%2 に名前を変えました。")
        .arg(path, QDir::toNativeSeparators(file.newPath));
}
