#include "link/PortOpenFailure.h"

#include "link/PortDevices.h"

#include <QCoreApplication>

namespace {

QString devicePrefix(int portNumber, const QString& devicePath)
{
    return portNumber > 0 ? QStringLiteral("COM%1 (%2): ").arg(portNumber).arg(devicePath)
                          : devicePath + QStringLiteral(": ");
}

}  // namespace

QString PortOpenFailure::text() const
{
    const QString reason = systemReason.isEmpty() ? QStringLiteral("?") : systemReason;
    QString result = devicePrefix(portNumber, devicePath) + reason;
    switch (kind) {
        case Kind::PermissionDenied: {
            const QString group = deviceGroup.isEmpty() ? QStringLiteral("dialout") : deviceGroup;
            const QString user = userName.isEmpty() ? QStringLiteral("$USER") : userName;
            if (memberNotYetActive) {
                result += QCoreApplication::translate(
                              "PortOpenFailure",
                              "\n\n%2 はデバイスの所有グループ「%1」に入っていますが、このログイン"
                              "にはまだ効いていません。ログインし直してください。")
                              .arg(group, user);
                break;
            }
            result += QCoreApplication::translate(
                          "PortOpenFailure",
                          "\n\nこのデバイスを使う権限がありません。デバイスの所有グループ「%1」"
                          "（通常は dialout）にユーザーを加え、ログインし直してください。\n"
                          "コマンド: sudo usermod -aG %1 %2")
                          .arg(group, user);
            break;
        }
        case Kind::NotFound:
            if (portNumber < 1) {
                result += QCoreApplication::translate("PortOpenFailure",
                                                      "\n\nこのデバイスはありません。");
                break;
            }
            result += QCoreApplication::translate(
                          "PortOpenFailure",
                          "\n\nこのデバイスはありません。ボードの USB シリアル変換器が接続されて"
                          "いるか確かめてください。通信ポート n は /dev/ttyUSB(n-1) です。別の"
                          "デバイスを使うときは、通信設定の［デバイス...］で選ぶか、設定ファイル"
                          "の [%1] に %2=デバイスのパス を書いてください。")
                          .arg(SettingsKeys::kPorts, SettingsKeys::portKey(portNumber));
            break;
        case Kind::InUse:
            result += QCoreApplication::translate("PortOpenFailure",
                                                  "\n\nこのポートは他のプログラムが使用中です。");
            break;
        case Kind::Other:
            break;
    }
    return result;
}

QString PortOpenFailure::withoutDevice(const QString& text, int portNumber,
                                       const QString& devicePath)
{
    const QString prefix = devicePrefix(portNumber, devicePath);
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
}
