#include "editing/gui/FindCommands.h"

#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "editing/ImageSearch.h"
#include "editing/gui/EditTexts.h"
#include "editing/gui/FindDialog.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

#include <QAction>

FindCommands::FindCommands(const EditControls& controls, const AppServices& services,
                           ImageView& view, StatusPanels& panels, QObject* parent)
    : QObject(parent),
      m_services(services),
      m_view(view),
      m_panels(panels),
      m_dialog(new FindDialog(controls.window))
{
    connect(controls.mnuFind, &QAction::triggered, this, &FindCommands::mnuFind_Click);
    connect(controls.mnuReplace, &QAction::triggered, this, &FindCommands::mnuReplace_Click);
    connect(controls.mnuFindNext, &QAction::triggered, this, &FindCommands::mnuFindNext_Click);
    connect(controls.mnuFindPrevious, &QAction::triggered, this,
            &FindCommands::mnuFindPrevious_Click);
    connect(m_dialog, &FindDialog::findNextRequested, this, [this] { findFromCurrent(true); });
    connect(m_dialog, &FindDialog::findPreviousRequested, this, [this] { findFromCurrent(false); });
    connect(m_dialog, &FindDialog::replaceRequested, this, &FindCommands::replaceOne);
    connect(m_dialog, &FindDialog::replaceAllRequested, this, &FindCommands::replaceAll);
    connect(m_dialog, &FindDialog::closed, this, [this] {
        m_view.markFound({});
        m_lastMatch.reset();
    });
}

void FindCommands::mnuFind_Click() { m_dialog->showFor(false); }

void FindCommands::mnuReplace_Click() { m_dialog->showFor(true); }

void FindCommands::mnuFindNext_Click()
{
    if (m_dialog->findText().isEmpty()) {
        mnuFind_Click();
        return;
    }
    findFromCurrent(true);
}

void FindCommands::mnuFindPrevious_Click()
{
    if (m_dialog->findText().isEmpty()) {
        mnuFind_Click();
        return;
    }
    findFromCurrent(false);
}

void FindCommands::setAccessRunning(bool running)
{
    m_accessRunning = running;
    m_dialog->setCommandsEnabled(!running);
}

void FindCommands::warn(const QString& text)
{
    MessageBoxRequest message;
    message.title = m_dialog->windowTitle();
    message.icon = MessageIcon::Warning;
    message.text = text;
    m_services.dialogs.showMessage(message);
}

std::optional<QByteArray> FindCommands::bytesOf(const QString& text)
{
    const SearchPattern pattern = SearchPattern::fromText(text, m_dialog->form());
    if (!pattern.ok()) {
        warn(EditTexts::patternError(pattern));
        return std::nullopt;
    }
    return pattern.bytes;
}

void FindCommands::findFromCurrent(bool forward)
{
    if (m_accessRunning) return;
    const std::optional<QByteArray> pattern = bytesOf(m_dialog->findText());
    if (!pattern) return;
    const qint64 current = m_view.currentAddress().value_or(0);
    // Find next from the match it selected goes on past it; from anywhere else it begins there.
    const qint64 from = forward ? current + (m_lastMatch == current ? 1 : 0) : current - 1;
    m_panels.setText(1, find(*pattern, from, forward));
}

QString FindCommands::find(const QByteArray& pattern, qint64 from, bool forward)
{
    const QByteArray& image = m_services.state.image.bytes();
    const qint64 size = image.size();
    const ImageSearch::Matches all = ImageSearch::findAll(image, pattern, {0, size});
    m_view.markFound(all.markedBytes(size, pattern.size()));
    const std::optional<ImageSearch::Match> match =
        forward ? ImageSearch::findNext(image, pattern, from)
                : ImageSearch::findPrevious(image, pattern, from);
    if (!match) {
        m_lastMatch.reset();
        return tr("見つかりませんでした。");
    }
    m_lastMatch = match->address;
    m_view.selectRange(match->address + pattern.size() - 1, match->address);
    const QString count = all.truncated ? tr("%1 か所以上").arg(all.addresses.size())
                                        : tr("%1 か所").arg(all.addresses.size());
    const QString found =
        tr("%1 に見つかりました (全 %2)。").arg(EditTexts::addressText(match->address), count);
    if (!match->wrapped) return found;
    return (forward ? tr("末尾まで検索したので、先頭から続けました。")
                    : tr("先頭まで検索したので、末尾から続けました。")) +
           found;
}

std::optional<std::pair<QByteArray, QByteArray>> FindCommands::replacement()
{
    const std::optional<QByteArray> pattern = bytesOf(m_dialog->findText());
    if (!pattern) return std::nullopt;
    const std::optional<QByteArray> replacement = bytesOf(m_dialog->replaceText());
    if (!replacement) return std::nullopt;
    if (replacement->size() != pattern->size()) {
        warn(tr("置換後の内容は、検索する内容と同じバイト数にしてください "
                "(検索 %1 バイト、置換後 %2 バイト)。\r\n"
                "置換でデータの位置がずれることはありません。")
                 .arg(pattern->size())
                 .arg(replacement->size()));
        return std::nullopt;
    }
    return std::make_pair(*pattern, *replacement);
}

void FindCommands::replaceOne()
{
    if (m_accessRunning) return;
    const auto pair = replacement();
    if (!pair) return;
    const auto& [pattern, bytes] = *pair;
    const qint64 current = m_view.currentAddress().value_or(0);
    const ReplaceOutcome outcome = m_services.state.editor.replaceAt(current, pattern, bytes);
    if (outcome.result != ReplaceOutcome::Result::Replaced) {
        // Nothing to replace at the current cell: the next match is found first.
        m_panels.setText(1, find(pattern, current, true));
        return;
    }
    m_panels.setText(1, tr("%1 を置換しました。").arg(EditTexts::addressText(current)) +
                            find(pattern, current + pattern.size(), true));
}

void FindCommands::replaceAll()
{
    if (m_accessRunning) return;
    const auto pair = replacement();
    if (!pair) return;
    const auto& [pattern, bytes] = *pair;
    const ReplaceOutcome outcome =
        m_services.state.editor.replaceAll(pattern, bytes, {0, m_services.state.image.size()});
    m_view.markFound({});
    m_lastMatch.reset();
    if (outcome.result != ReplaceOutcome::Result::Replaced) {
        m_panels.setText(1, tr("見つかりませんでした。"));
        return;
    }
    m_panels.setText(1, tr("%1 か所を置換しました。").arg(outcome.count));
}
