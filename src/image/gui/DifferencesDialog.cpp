#include "image/gui/DifferencesDialog.h"

#include "base/HexText.h"
#include "base/gui/UiFonts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kAddressRole = Qt::UserRole;

QString byteText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }

}  // namespace

DifferencesDialog::DifferencesDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDifferences"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("LblSummary"));
    // One line: the dialog widens to the status text rather than breaking it in an address.
    m_summary->setWordWrap(false);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("LblCount"));
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("LstDifferences"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFont(UiFonts::fixedPitch(10));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_list->header()->setDefaultAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(tr("閉じる"));
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("Cmd_Close"));
    layout->addWidget(m_summary);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    const auto choose = [this](const QTreeWidgetItem* item) {
        if (item) emit addressChosen(item->data(0, kAddressRole).toLongLong());
    };
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [choose](const QTreeWidgetItem* current) { choose(current); });
    connect(m_list, &QTreeWidget::itemClicked, this,
            [choose](const QTreeWidgetItem* item) { choose(item); });
    resize(460, 440);
}

void DifferencesDialog::setComparison(const Comparison& comparison, const ComparisonTexts& texts)
{
    setWindowTitle(texts.title + tr(" : 不一致の一覧"));
    m_summary->setText(texts.summary);
    m_count->setText(comparison.mismatches > comparison.first.size()
                         ? tr("不一致 %1 バイトのうち、最初の %2 バイトを示します。")
                               .arg(comparison.mismatches)
                               .arg(comparison.first.size())
                         : tr("不一致 %1 バイト").arg(comparison.mismatches));
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    const QString own = texts.ownHeading.isEmpty() ? tr("バッファ") : texts.ownHeading;
    m_list->setHeaderLabels({tr("アドレス"), own, texts.otherHeading});
    QList<QTreeWidgetItem*> items;
    items.reserve(comparison.first.size());
    for (const ByteDifference& difference : comparison.first) {
        auto* item = new QTreeWidgetItem(
            {QStringLiteral("0x") + hexText(static_cast<quint32>(difference.address), 5),
             byteText(difference.expected), byteText(difference.actual)});
        item->setData(0, kAddressRole, difference.address);
        for (int column = 0; column < 3; ++column) item->setTextAlignment(column, Qt::AlignCenter);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->setCurrentItem(nullptr);
}

QString DifferencesDialog::summaryText() const { return m_summary->text(); }
