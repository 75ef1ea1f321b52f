#include "production/gui/BoardDisplay.h"

#include "link/gui/AccessTexts.h"
#include "production/gui/ProductionTexts.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// Readable from a step or two away from the screen.
constexpr int kVerdictPointSize = 28;

const QString kIdleStyle = QStringLiteral("QLabel { color: palette(mid); }");
const QString kRunningStyle = QStringLiteral("QLabel { color: palette(text); }");
const QString kPassedStyle =
    QStringLiteral("QLabel { background-color: #1E7B34; color: white; border-radius: 4px; }");
const QString kFailedStyle =
    QStringLiteral("QLabel { background-color: #B3261E; color: white; border-radius: 4px; }");

}  // namespace

BoardDisplay::BoardDisplay(int index, const QString& portText, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame_Board(%1)").arg(index));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    m_port = new QLabel(portText);
    m_port->setObjectName(QStringLiteral("Lbl_BoardPort(%1)").arg(index));
    m_verdict = new QLabel;
    m_verdict->setObjectName(QStringLiteral("Lbl_Verdict(%1)").arg(index));
    m_verdict->setAlignment(Qt::AlignCenter);
    QFont big = m_verdict->font();
    big.setPointSize(kVerdictPointSize);
    big.setBold(true);
    m_verdict->setFont(big);
    m_verdict->setMinimumHeight(QFontMetrics(big).height() * 3 / 2);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("PrgBoard(%1)").arg(index));
    m_progress->setRange(0, 100);
    m_detail = new QLabel;
    m_detail->setObjectName(QStringLiteral("Lbl_BoardDetail(%1)").arg(index));
    m_detail->setWordWrap(true);
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_port);
    layout->addWidget(m_verdict);
    layout->addWidget(m_progress);
    layout->addWidget(m_detail, 1);
    showIdle();
}

void BoardDisplay::setVerdict(const QString& text, const QString& style)
{
    m_verdict->setText(text);
    m_verdict->setStyleSheet(style);
}

void BoardDisplay::showIdle()
{
    setVerdict(QStringLiteral("—"), kIdleStyle);
    m_progress->setValue(0);
    m_detail->clear();
}

void BoardDisplay::showRunning()
{
    setVerdict(QStringLiteral("…"), kRunningStyle);
    m_progress->setValue(0);
    m_detail->clear();
}

void BoardDisplay::showProgress(ChipStep step, qint64 done, qint64 total)
{
    m_progress->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 100);
    m_progress->setFormat(AccessTexts::stepText(step, AccessMode::Block) + QStringLiteral(" %p%"));
}

void BoardDisplay::showNumbers(const QString& serialsText) { m_detail->setText(serialsText); }

void BoardDisplay::showVerdict(bool passed, const QString& detail)
{
    setVerdict(ProductionTexts::verdictText(passed), passed ? kPassedStyle : kFailedStyle);
    m_progress->setFormat(QStringLiteral("%p%"));
    if (passed) m_progress->setValue(100);
    m_detail->setText(detail);
}

QString BoardDisplay::verdict() const { return m_verdict->text(); }

QString BoardDisplay::detail() const { return m_detail->text(); }
