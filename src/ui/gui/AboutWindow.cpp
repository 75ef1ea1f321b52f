#include "ui/gui/AboutWindow.h"

#include "base/DesktopOpener.h"
#include "base/ProductInfo.h"
#include "ui/gui/LogoView.h"
#include "ui/gui/SupportPage.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& name, const QString& text = QString())
{
    auto* result = new QLabel(text);
    result->setObjectName(name);
    return result;
}

QPushButton* button(const QString& name, const QString& caption)
{
    auto* result = new QPushButton(caption);
    result->setObjectName(name);
    return result;
}

}  // namespace

AboutWindow::AboutWindow(DesktopOpener& desktop, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_desktop(desktop), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Closing discards the window: the next opening builds it anew.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    auto* icon = new LogoView(64);
    icon->setObjectName(QStringLiteral("picIcon"));

    m_title = label(QStringLiteral("lblTitle"));
    QFont titleFont = m_title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_version = label(QStringLiteral("lblVersion"));
    m_dataFile = label(QStringLiteral("Label_vorle_rev"), tr("vorle6.iniバージョン"));
    m_description = label(QStringLiteral("lblDescription"));
    m_description->setWordWrap(true);
    auto* maker = label(QStringLiteral("Label1"), ProductInfo::kMakerLine);
    m_disclaimer = label(QStringLiteral("lblDisclaimer"));
    m_disclaimer->setWordWrap(true);
    m_disclaimer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* text : {m_version, m_dataFile, m_description, maker, m_disclaimer}) {
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    auto* line = new QFrame;
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* support = button(QStringLiteral("Command1"), tr("サポートホームページへジャンプ"));
    support->setAutoDefault(false);
    auto* close = button(QStringLiteral("cmdOK"), tr("閉じる"));
    close->setDefault(true);
    close->setMinimumWidth(110);
    connect(support, &QPushButton::clicked, this, &AboutWindow::Command1_Click);
    connect(close, &QPushButton::clicked, this, &AboutWindow::cmdOK_Click);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(m_title);
    texts->addWidget(m_version);
    texts->addWidget(m_dataFile);
    texts->addSpacing(6);
    texts->addWidget(m_description);
    texts->addWidget(maker);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(support);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(line);
    layout->addWidget(m_disclaimer);
    layout->addLayout(buttons);

    setFixedWidth(500);
    Form_Load();
}

void AboutWindow::Form_Load()
{
    setWindowTitle(ProductInfo::kApplicationTitle + tr("のﾊﾞｰｼﾞｮﾝ情報"));
    m_version->setText(tr("ﾊﾞｰｼﾞｮﾝ ") + ProductInfo::versionNumber());
    m_title->setText(ProductInfo::kApplicationTitle.toUpper());
    m_description->setText(ProductInfo::kFileDescription);
    m_disclaimer->setText(ProductInfo::kFileComments);
}

void AboutWindow::fillFromStartup()
{
    m_version->setText(ProductInfo::versionLabel());
    m_title->setText(ProductInfo::kApplicationTitle.toUpper());
    m_description->setText(ProductInfo::kFileDescription);
    m_disclaimer->setText(ProductInfo::kFileComments);
}

void AboutWindow::showSupportPageLine()
{
    m_disclaimer->setText(tr("ｻﾎﾟｰﾄﾍﾟｰｼﾞ : ") +
                          QDir::toNativeSeparators(SupportPage::pathIn(m_appFolder, m_language)));
}

void AboutWindow::setDataFileVersion(const QString& version)
{
    m_dataFile->setText(QStringLiteral("vorle6.ini  ") + version);
}

void AboutWindow::Command1_Click()
{
    SupportPage::open(m_appFolder, m_dialogs, m_desktop, m_language);
}

void AboutWindow::cmdOK_Click() { accept(); }
