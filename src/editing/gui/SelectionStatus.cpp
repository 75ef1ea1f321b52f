#include "editing/gui/SelectionStatus.h"

#include "base/StatusPanels.h"
#include "editing/RangeSummary.h"
#include "editing/gui/EditTexts.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

SelectionStatus::SelectionStatus(ImageView& view, const ProgramState& state, StatusPanels& panels,
                                 QObject* parent)
    : QObject(parent), m_view(view), m_state(state), m_panels(panels)
{
    connect(&m_view, &ImageView::selectionChanged, this, &SelectionStatus::show);
    connect(&m_view, &ImageView::imageEdited, this, &SelectionStatus::show);
}

void SelectionStatus::show()
{
    const AddressRange range = m_view.selectedRange();
    if (m_view.selectsMore()) {
        m_panels.setText(3,
                         EditTexts::selectionText(RangeSummary::of(m_state.image.bytes(), range)));
        m_shown = true;
    } else if (m_shown) {
        m_shown = false;
        if (const auto address = m_view.currentAddress()) {
            m_panels.setText(3, QStringLiteral("ADDRESS:") + QString::number(*address));
        }
    }
}
