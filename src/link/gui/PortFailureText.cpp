#include "link/gui/PortFailureText.h"

#include "link/PortDevices.h"

#include <QCoreApplication>

namespace {

QString devicePrefix(const PortOpenFailure& failure)
{
    return failure.portNumber > 0
               ? QStringLiteral("COM%1 (%2): ").arg(failure.portNumber).arg(failure.devicePath)
               : failure.devicePath + QStringLiteral(": ");
}

}  // namespace

QString portFailureDetail(const PortOpenFailure& failure)
{
    QString reason = failure.systemReason;
    if (!failure.holder.isEmpty()) {
        reason = reason.isEmpty()
                     ? failure.holder
                     : reason + QStringLiteral(" (") + failure.holder + QLatin1Char(')');
    }
    if (reason.isEmpty()) reason = QStringLiteral("?");
    switch (failure.kind) {
        case PortOpenFailure::Kind::PermissionDenied: {
            const QString group =
                failure.deviceGroup.isEmpty() ? QStringLiteral("dialout") : failure.deviceGroup;
            const QString user =
                failure.userName.isEmpty() ? QStringLiteral("$USER") : failure.userName;
            if (failure.memberNotYetActive) {
                return reason + QCoreApplication::translate(
                                    "PortOpenFailure",
                                    "\n\n%2 はデバイスの所有グループ「%1」に入っていますが、"
                                    "このログインにはまだ効いていません。ログインし直して"
                                    "ください。")
                                    .arg(group, user);
            }
            return reason + QCoreApplication::translate(
                                "PortOpenFailure",
                                "\n\nこのデバイスを使う権限がありません。デバイスの所有グ"
                                "ループ「%1」（通常は dialout）にユーザーを加え、ログインし"
                                "直してください。\nコマンド: sudo usermod -aG %1 %2")
                                .arg(group, user);
        }
        case PortOpenFailure::Kind::NotFound:
            if (failure.portNumber < 1)
                return reason + QCoreApplication::translate("PortOpenFailure",
                                                            "\n\nこのデバイスはありません。");
            return reason +
                   QCoreApplication::translate(
                       "PortOpenFailure",
                       "\n\nこのデバイスはありません。ボードの USB シリアル変換器が接続されて"
                       "いるか確かめてください。通信ポート n は /dev/ttyUSB(n-1) です。別の"
                       "デバイスを使うときは、通信設定の［デバイス...］で選ぶか、設定ファイ"
                       "ルの [%1] に %2=デバイスのパス を書いてください。")
                       .arg(SettingsKeys::kPorts, SettingsKeys::portKey(failure.portNumber));
        case PortOpenFailure::Kind::InUse:
            return reason + QCoreApplication::translate(
                                "PortOpenFailure", "\n\nこのポートは他のプログラムが使用中です。");
        case PortOpenFailure::Kind::Other:
            break;
    }
    return reason;
}

QString portFailureText(const PortOpenFailure& failure)
{
    return devicePrefix(failure) + portFailureDetail(failure);
}
