#include "link/PortOpenFailure.h"

#include "link/PortDevices.h"

QString PortOpenFailure::text() const
{
    const QString reason = systemReason.isEmpty() ? QStringLiteral("?") : systemReason;
    QString result = portNumber > 0
                         ? QStringLiteral("COM%1 (%2): %3").arg(portNumber).arg(devicePath, reason)
                         : QStringLiteral("%1: %2").arg(devicePath, reason);
    switch (kind) {
        case Kind::PermissionDenied: {
            const QString group = deviceGroup.isEmpty() ? QStringLiteral("dialout") : deviceGroup;
            result += QStringLiteral(
                          "\n\nこのデバイスを使う権限がありません。デバイスの所有グループ「%1」"
                          "（通常は dialout）にユーザーを加え、ログインし直してください。\n"
                          "例: sudo usermod -aG %1 $USER")
                          .arg(group);
            break;
        }
        case Kind::NotFound:
            if (portNumber < 1) {
                result += QStringLiteral("\n\nこのデバイスはありません。");
                break;
            }
            result += QStringLiteral(
                          "\n\nこのデバイスはありません。ボードの USB シリアル変換器が接続されて"
                          "いるか確かめてください。通信ポート n は /dev/ttyUSB(n-1) です。別の"
                          "デバイスを使うときは、設定ファイルの [%1] に %2=デバイスのパス を"
                          "書いてください。")
                          .arg(SettingsKeys::kPorts, SettingsKeys::portKey(portNumber));
            break;
        case Kind::InUse:
            result += QStringLiteral("\n\nこのポートは他のプログラムが使用中です。");
            break;
        case Kind::Other:
            break;
    }
    return result;
}
