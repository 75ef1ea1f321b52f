#include "link/gui/PortUnusableMessage.h"

#include "base/ProductInfo.h"

#include <QCoreApplication>

MessageBoxRequest portUnusableMessage(const QString& reason)
{
    MessageBoxRequest message;
    message.text = QCoreApplication::translate("PortUnusableMessage",
                                               "指定した通信ポートは使用できませんでした。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Critical;
    message.buttons = MessageButtons::Ok;
    message.detail = reason;
    return message;
}
