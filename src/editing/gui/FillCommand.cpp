#include "editing/gui/FillCommand.h"

#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "editing/ByteTexts.h"
#include "editing/gui/EditTexts.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

#include <QAction>

FillCommand::FillCommand(QAction* mnuFill, const AppServices& services, ImageView& view,
                         StatusPanels& panels, QObject* parent)
    : QObject(parent), m_services(services), m_view(view), m_panels(panels)
{
    connect(mnuFill, &QAction::triggered, this, &FillCommand::mnuFill_Click);
}

void FillCommand::mnuFill_Click()
{
    const AddressRange range = m_view.selectedRange();
    if (range.isEmpty()) return;
    const QString where =
        tr("%1～%2 (%3 バイト)")
            .arg(EditTexts::addressText(range.start), EditTexts::addressText(range.last()))
            .arg(range.length);
    TextInputRequest request;
    request.title = tr("塗りつぶし");
    request.label = tr("%1 を埋めるバイトを16進数で入力してください。\r\n"
                       "複数のバイトはその並びを繰り返します (例: FF、00 FF、DE AD BE EF)。")
                        .arg(where);
    request.text = m_lastPattern;
    const TextInputResult answer = m_services.dialogs.askText(request);
    if (!answer.accepted) return;

    const ByteTexts::HexParse parse = ByteTexts::parseHex(answer.text);
    if (!parse.ok()) {
        MessageBoxRequest message;
        message.title = request.title;
        message.icon = MessageIcon::Warning;
        message.text = EditTexts::hexError(parse);
        m_services.dialogs.showMessage(message);
        return;
    }
    m_lastPattern = answer.text.trimmed();
    m_services.state.editor.fill(range, parse.bytes);
    m_panels.setText(
        1,
        tr("%1 を %2 で塗りつぶしました。").arg(where, ByteTexts::hexLines(parse.bytes.left(16))));
}
