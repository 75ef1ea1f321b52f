#include "image/gui/UnsavedQuestion.h"

#include "base/ProductInfo.h"
#include "base/UserDialogs.h"
#include "image/UnsavedImage.h"

#include <QCoreApplication>

bool mayDiscard(const UnsavedImage& unsaved, UserDialogs& dialogs)
{
    if (!unsaved.unsaved()) return true;
    MessageBoxRequest question;
    question.text = QCoreApplication::translate(
        "UnsavedImage", "編集したデータは保存されていません。破棄しますか？");
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    return dialogs.showMessage(question) == MessageAnswer::Yes;
}
