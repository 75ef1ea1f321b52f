#include "link/PortUnusableMessage.h"

#include "base/ProductInfo.h"

MessageBoxRequest portUnusableMessage(const QString& reason)
{
    MessageBoxRequest message;
    message.text = QStringLiteral("指定した通信ポートは使用できませんでした。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Critical;
    message.buttons = MessageButtons::Ok;
    message.detail = reason;
    return message;
}
