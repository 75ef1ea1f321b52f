#include "editing/gui/ClipboardCommands.h"

#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "editing/ByteTexts.h"
#include "editing/gui/EditTexts.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

ClipboardCommands::ClipboardCommands(const EditControls& controls, const AppServices& services,
                                     ImageView& view, StatusPanels& panels, QObject* parent)
    : QObject(parent), m_services(services), m_view(view), m_panels(panels)
{
    connect(controls.mnuCopy, &QAction::triggered, this, &ClipboardCommands::mnuCopy_Click);
    connect(controls.mnuCopyText, &QAction::triggered, this, &ClipboardCommands::mnuCopyText_Click);
    connect(controls.mnuPaste, &QAction::triggered, this, &ClipboardCommands::mnuPaste_Click);
    connect(controls.mnuSelectAll, &QAction::triggered, this,
            &ClipboardCommands::mnuSelectAll_Click);
}

void ClipboardCommands::mnuCopy_Click() { copy(false); }

void ClipboardCommands::mnuCopyText_Click() { copy(true); }

void ClipboardCommands::copy(bool asText)
{
    const AddressRange range = m_view.selectedRange();
    if (range.isEmpty()) return;
    const QByteArray bytes = m_services.state.image.bytes(range.start, range.length);
    auto* mime = new QMimeData;
    mime->setText(asText ? ByteTexts::textColumn(bytes) : ByteTexts::hexLines(bytes));
    mime->setData(kBytesType, bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
    m_panels.setText(
        1, tr("%1～%2 の %3 バイトをコピーしました。")
               .arg(EditTexts::addressText(range.start), EditTexts::addressText(range.last()))
               .arg(range.length));
}

void ClipboardCommands::mnuPaste_Click()
{
    const std::optional<qint64> address = m_view.currentAddress();
    if (!address) return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QByteArray bytes;
    if (mime && mime->hasFormat(kBytesType)) {
        bytes = mime->data(kBytesType);
    } else {
        const ByteTexts::HexParse parse = ByteTexts::parseHex(mime ? mime->text() : QString());
        if (!parse.ok()) {
            refuse(tr("クリップボードの内容を16進数のバイトとして読めません。\r\n%1")
                       .arg(EditTexts::hexError(parse)));
            return;
        }
        bytes = parse.bytes;
    }
    if (bytes.isEmpty()) return;

    ImageEditor& editor = m_services.state.editor;
    if (const qint64 overrun = editor.pasteOverrun(*address, bytes.size()); overrun > 0) {
        MessageBoxRequest question;
        question.title = tr("貼り付け");
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNo;
        question.text = tr("貼り付ける %1 バイトのうち %2 バイトはデバイスの終わり (%3) を"
                           "越えます。\r\n入る %4 バイトだけ貼り付けますか？")
                            .arg(bytes.size())
                            .arg(overrun)
                            .arg(EditTexts::addressText(editor.image().size() - 1))
                            .arg(bytes.size() - overrun);
        if (m_services.dialogs.showMessage(question) != MessageAnswer::Yes) {
            m_panels.setText(1, tr("貼り付けを取りやめました。"));
            return;
        }
    }
    const EditOutcome outcome = editor.paste(*address, bytes);
    // The pasted bytes stay selected, the current cell where they begin.
    m_view.selectRange(*address + outcome.written - 1, *address);
    m_panels.setText(1, tr("%1 から %2 バイトを貼り付けました。")
                            .arg(EditTexts::addressText(*address))
                            .arg(outcome.written));
}

void ClipboardCommands::mnuSelectAll_Click() { m_view.selectAll(); }

void ClipboardCommands::refuse(const QString& text)
{
    MessageBoxRequest message;
    message.title = tr("貼り付け");
    message.icon = MessageIcon::Warning;
    message.text = text;
    m_services.dialogs.showMessage(message);
}
