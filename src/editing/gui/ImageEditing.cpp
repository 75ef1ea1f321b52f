#include "editing/gui/ImageEditing.h"

#include "editing/gui/ClipboardCommands.h"
#include "editing/gui/FillCommand.h"
#include "editing/gui/FindCommands.h"
#include "editing/gui/RangeFileCommands.h"
#include "editing/gui/SelectionStatus.h"
#include "editing/gui/UndoCommands.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

#include <QAction>

ImageEditing::ImageEditing(const EditControls& controls, const AppServices& services,
                           ImageView& view, StatusPanels& panels, QObject* parent)
    : QObject(parent),
      m_controls(controls),
      m_undo(new UndoCommands(controls.mnuUndo, controls.mnuRedo, services.state.editor, panels,
                              this)),
      m_clipboard(new ClipboardCommands(controls, services, view, panels, this)),
      m_fill(new FillCommand(controls.mnuFill, services, view, panels, this)),
      m_find(new FindCommands(controls, services, view, panels, this)),
      m_rangeFiles(new RangeFileCommands(controls.mnuLoadRange, controls.mnuSaveSelection, services,
                                         view, panels, this)),
      m_selectionStatus(new SelectionStatus(view, services.state, panels, this))
{
    connect(&view, &ImageView::imageEdited, m_undo, &UndoCommands::refresh);
}

void ImageEditing::setAccessRunning(bool running)
{
    // Undo and redo keep their own state; the rest would change the image, or the current cell
    // a byte access works on.
    m_undo->setAccessRunning(running);
    for (QAction* action :
         {m_controls.mnuCopy, m_controls.mnuCopyText, m_controls.mnuPaste, m_controls.mnuSelectAll,
          m_controls.mnuFill, m_controls.mnuFind, m_controls.mnuFindNext,
          m_controls.mnuFindPrevious, m_controls.mnuReplace, m_controls.mnuLoadRange,
          m_controls.mnuSaveSelection}) {
        action->setEnabled(!running);
    }
    m_find->setAccessRunning(running);
}
