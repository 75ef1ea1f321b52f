#include "image/UnsavedImage.h"

#include "base/ProductInfo.h"
#include "base/UserDialogs.h"

#include <QCoreApplication>

bool UnsavedImage::mayDiscard(UserDialogs& dialogs) const
{
    if (!m_unsaved) return true;
    MessageBoxRequest question;
    question.text = QCoreApplication::translate(
        "UnsavedImage", "編集したデータは保存されていません。破棄しますか？");
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    return dialogs.showMessage(question) == MessageAnswer::Yes;
}
