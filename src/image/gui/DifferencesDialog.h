#pragma once

#include "image/ComparisonView.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

// frmDifferences: the list of a comparison's first differences, one line each with the address,
// the buffer's byte and the other side's. Modeless, so that the grid stays usable beside it;
// choosing a line (click or keys) asks for that address's cell.
class DifferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit DifferencesDialog(QWidget* parent = nullptr);

    // Fills the list from `comparison` (its listed differences); no line is chosen.
    void setComparison(const Comparison& comparison, const ComparisonTexts& texts);

    [[nodiscard]] QTreeWidget* list() const { return m_list; }
    [[nodiscard]] QString summaryText() const;

signals:
    void addressChosen(qint64 address);

private:
    QLabel* m_summary = nullptr;
    QLabel* m_count = nullptr;
    QTreeWidget* m_list = nullptr;
};
