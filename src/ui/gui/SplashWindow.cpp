#include "ui/gui/SplashWindow.h"

#include "base/ProductInfo.h"
#include "ui/gui/LogoView.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent = nullptr)
{
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

QFont titleFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPointSize(40);
    return font;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xF7, 0xF9, 0xFC));
    setPalette(colours);

    m_frame = new QFrame;
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setFrameShadow(QFrame::Sunken);
    m_frame->setLineWidth(1);
    m_frame->setMidLineWidth(1);
    m_frame->installEventFilter(this);

    auto* logo = new LogoView(112);
    logo->setObjectName(QStringLiteral("imgLogo"));

    auto* subtitle = label(QStringLiteral("Label2"), tr("シリアルＥＥＰＲＯＭプログラマー"));
    QFont subtitleFont = subtitle->font();
    subtitleFont.setPointSize(15);
    subtitleFont.setBold(true);
    subtitle->setFont(subtitleFont);

    m_version = label(QStringLiteral("lblVersion"), QString());
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont versionFont = m_version->font();
    versionFont.setPointSize(11);
    m_version->setFont(versionFont);

    auto* wait = label(QStringLiteral("Label1"), tr("しばらくお待ちください。"));
    wait->setAlignment(Qt::AlignCenter);

    auto* company = label(QStringLiteral("lblCompany"), ProductInfo::kMakerName);
    auto* copyright = label(QStringLiteral("lblCopyright"),
                            QStringLiteral("Copyright © ") + ProductInfo::kMakerName);
    auto* maker = label(QStringLiteral("Label3"), ProductInfo::kMakerLine);
    maker->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    for (QLabel* small : {company, copyright, maker}) {
        QFont font = small->font();
        font.setPointSize(9);
        small->setFont(font);
        small->setForegroundRole(QPalette::PlaceholderText);
    }

    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(buildTitle());
    heading->addWidget(subtitle);
    heading->addWidget(m_version);
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* names = new QVBoxLayout;
    names->setSpacing(0);
    names->addWidget(company);
    names->addWidget(copyright);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(names);
    bottom->addStretch(1);
    bottom->addWidget(maker, 0, Qt::AlignBottom);

    auto* inside = new QVBoxLayout(m_frame);
    inside->setContentsMargins(24, 20, 24, 14);
    inside->addLayout(top);
    inside->addSpacing(10);
    inside->addWidget(wait);
    inside->addSpacing(10);
    inside->addLayout(bottom);

    auto* outside = new QVBoxLayout(this);
    outside->setContentsMargins(6, 6, 6, 6);
    outside->addWidget(m_frame);

    Form_Load();
    setFixedSize(sizeHint().expandedTo(QSize(540, 300)));
}

// The title: "VORLE" twice, the second copy a shade offset right and down behind the first.
QWidget* SplashWindow::buildTitle()
{
    auto* holder = new QWidget;
    auto* shade = label(QStringLiteral("lblProductNameA"), ProductInfo::kApplicationTitle, holder);
    m_productName =
        label(QStringLiteral("lblProductName(0)"), ProductInfo::kApplicationTitle, holder);
    for (QLabel* title : {shade, m_productName}) title->setFont(titleFont());
    shade->setStyleSheet(QStringLiteral("color: #B8C4D6;"));
    m_productName->setStyleSheet(QStringLiteral("color: #1F3A63;"));

    constexpr int kOffset = 3;
    const QSize size = m_productName->sizeHint();
    m_productName->setGeometry(0, 0, size.width(), size.height());
    shade->setGeometry(kOffset, kOffset, size.width(), size.height());
    m_productName->raise();
    holder->setFixedSize(size.width() + kOffset, size.height() + kOffset);
    return holder;
}

void SplashWindow::Form_Load()
{
    m_productName->setText(ProductInfo::kApplicationTitle.toUpper());
    m_version->setText(tr("ﾊﾞｰｼﾞｮﾝ ") + ProductInfo::versionNumber());
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    // Take the keyboard, so that a key press can close the window.
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void SplashWindow::keyPressEvent(QKeyEvent*) { close(); }

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
