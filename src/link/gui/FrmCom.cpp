#include "link/gui/FrmCom.h"

#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "link/PortDevices.h"
#include "link/PortUnusableMessage.h"
#include "link/SerialPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString switchText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

FrmCom::FrmCom(SerialPort& port, SettingsStore& settings, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_port(port), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("通信設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_label1 = named(new QLabel(QStringLiteral("通信ポート番号"), this), "Label1");
    m_cmbCom = named(new QComboBox(this), "Cmb_com");
    m_cmbCom->setMinimumContentsLength(4);
    m_frame1 = named(
        new QGroupBox(QStringLiteral("通信ができないとき変更してみてください。"), this), "Frame1");
    m_checkDtr =
        named(new QCheckBox(QStringLiteral("DTR (通常チェック無し)"), m_frame1), "CheckDTR");
    m_checkRts =
        named(new QCheckBox(QStringLiteral("RTS (通常チェック有り)"), m_frame1), "CheckRTS");
    m_labelDsr = named(new QLabel(QStringLiteral("DSR"), m_frame1), "LabelDSR");
    m_labelCts = named(new QLabel(QStringLiteral("CTS"), m_frame1), "LabelCTS");
    m_cmdClose = named(new QPushButton(QStringLiteral("閉じる"), this), "Cmd_Close");
    m_cmdClose->setAutoDefault(false);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_label1);
    portRow->addWidget(m_cmbCom);
    portRow->addStretch();

    auto* lines = new QGridLayout(m_frame1);
    lines->addWidget(m_checkDtr, 0, 0);
    lines->addWidget(m_labelDsr, 0, 1);
    lines->addWidget(m_checkRts, 1, 0);
    lines->addWidget(m_labelCts, 1, 1);
    lines->setColumnStretch(0, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addWidget(m_frame1);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmbCom, &QComboBox::activated, this, &FrmCom::Cmb_com_Click);
    connect(m_checkDtr, &QCheckBox::toggled, this, &FrmCom::CheckDTR_Click);
    connect(m_checkRts, &QCheckBox::toggled, this, &FrmCom::CheckRTS_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &FrmCom::Cmd_Close_Click);
}

void FrmCom::Form_Load()
{
    using namespace SettingsKeys;
    m_unloaded = false;
    closePort();

    m_cmbCom->clear();
    for (int number = SerialPort::kFirstPortNumber; number <= SerialPort::kLastPortNumber;
         ++number) {
        m_cmbCom->addItem(QString::number(number));
    }
    // A stored index that is not a port of the list (edited by hand, or from another
    // installation) falls back to port 1.
    const int lastIndex = SerialPort::kLastPortNumber - SerialPort::kFirstPortNumber;
    m_cmbCom->setCurrentIndex(m_settings.getIndex(kSettings, kComNo, 0, 0, lastIndex));
    Cmb_com_Click();

    m_checkRts->setChecked(m_settings.getSwitch(kSettings, kRts, true));
    m_checkDtr->setChecked(m_settings.getSwitch(kSettings, kDtr, false));
}

void FrmCom::Cmb_com_Click()
{
    const int index = m_cmbCom->currentIndex();
    if (index < 0) return;
    closePort();
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QString::number(index));
    const int portNumber = m_cmbCom->itemText(index).toInt();
    m_port.setPortNumber(portNumber);
    m_port.setDevicePath(PortDevices(m_settings).devicePath(portNumber));

    QString reason;
    if (m_port.open(&reason)) return;

    m_dialogs.showMessage(portUnusableMessage(reason));
}

void FrmCom::CheckDTR_Click()
{
    QCoreApplication::processEvents();
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kDtr,
                    switchText(m_checkDtr->isChecked()));
}

void FrmCom::CheckRTS_Click()
{
    QCoreApplication::processEvents();
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kRts,
                    switchText(m_checkRts->isChecked()));
}

void FrmCom::Cmd_Close_Click()
{
    closePort();
    close();
}

void FrmCom::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void FrmCom::Form_Unload()
{
    closePort();
    if (m_unloaded) return;
    m_unloaded = true;
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kRts,
                    switchText(m_checkRts->isChecked()));
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kDtr,
                    switchText(m_checkDtr->isChecked()));
}

void FrmCom::closePort()
{
    if (m_port.isOpen()) m_port.close();
}
