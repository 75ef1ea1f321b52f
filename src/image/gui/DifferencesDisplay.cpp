#include "image/gui/DifferencesDisplay.h"

#include "image/gui/DifferencesDialog.h"
#include "image/gui/ImageView.h"

DifferencesDisplay::DifferencesDisplay(ImageView& view, QWidget* owner)
    : m_view(view), m_owner(owner)
{
    connect(&m_view, &ImageView::imageShown, this, [this] {
        if (m_dialog) m_dialog->hide();
    });
}

DifferencesDisplay::~DifferencesDisplay() = default;

void DifferencesDisplay::showComparison(const Comparison& comparison, const ComparisonTexts& texts)
{
    m_view.markCells(comparison.differing);
    if (comparison.matches()) {
        if (m_dialog) m_dialog->hide();
        return;
    }
    if (!m_dialog) {
        m_dialog = new DifferencesDialog(m_owner);
        connect(m_dialog, &DifferencesDialog::addressChosen, this,
                [this](qint64 address) { m_view.showAddress(address); });
    }
    m_dialog->setComparison(comparison, texts);
    m_dialog->show();
    m_dialog->raise();
}
