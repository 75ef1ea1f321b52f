#include "editing/gui/UndoCommands.h"

#include "base/StatusPanels.h"
#include "editing/ImageEditor.h"
#include "editing/gui/EditTexts.h"

#include <QAction>

UndoCommands::UndoCommands(QAction* undo, QAction* redo, ImageEditor& editor, StatusPanels& panels,
                           QObject* parent)
    : QObject(parent), m_undo(undo), m_redo(redo), m_editor(editor), m_panels(panels)
{
    connect(m_undo, &QAction::triggered, this, &UndoCommands::mnuUndo_Click);
    connect(m_redo, &QAction::triggered, this, &UndoCommands::mnuRedo_Click);
    refresh();
}

void UndoCommands::mnuUndo_Click()
{
    const std::optional<EditKind> kind = m_editor.history().undoKind();
    if (m_accessRunning || !kind || !m_editor.undo()) return;
    m_panels.setText(1, tr("「%1」を元に戻しました。").arg(EditTexts::kindName(*kind)));
}

void UndoCommands::mnuRedo_Click()
{
    const std::optional<EditKind> kind = m_editor.history().redoKind();
    if (m_accessRunning || !kind || !m_editor.redo()) return;
    m_panels.setText(1, tr("「%1」をやり直しました。").arg(EditTexts::kindName(*kind)));
}

void UndoCommands::refresh()
{
    const EditHistory& history = m_editor.history();
    m_undo->setText(EditTexts::undoText(history.undoKind()));
    m_redo->setText(EditTexts::redoText(history.redoKind()));
    m_undo->setEnabled(!m_accessRunning && history.canUndo());
    m_redo->setEnabled(!m_accessRunning && history.canRedo());
}

void UndoCommands::setAccessRunning(bool running)
{
    m_accessRunning = running;
    refresh();
}
