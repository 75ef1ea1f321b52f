#pragma once

#include "image/ComparisonView.h"
#include "image/gui/DifferencesDialog.h"

#include <QObject>
#include <QPointer>

class ImageView;
class QWidget;

// The window's ComparisonView: differing cells marked in the grid of `view`, and the list
// frmDifferences beside the main window, whose lines move the grid's current cell. A rebuild of
// the grid (ShowImage) removes the marks and puts the list away, since both are then out of
// date.
class DifferencesDisplay : public QObject, public ComparisonView {
    Q_OBJECT
public:
    DifferencesDisplay(ImageView& view, QWidget* owner);
    ~DifferencesDisplay() override;

    void showComparison(const Comparison& comparison, const ComparisonTexts& texts) override;

    // The list; null until a comparison with differences has been shown.
    [[nodiscard]] DifferencesDialog* dialog() const { return m_dialog; }

private:
    ImageView& m_view;
    QWidget* m_owner;
    QPointer<DifferencesDialog> m_dialog;
};
