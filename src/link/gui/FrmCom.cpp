#include "link/gui/FrmCom.h"

#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "base/gui/NamedWidgets.h"
#include "link/BoardFinder.h"
#include "link/PortDevices.h"
#include "link/PortDirectory.h"
#include "link/PortHolders.h"
#include "link/PortOpenFailure.h"
#include "link/QtSerialPort.h"
#include "link/SerialDevices.h"
#include "link/SerialPort.h"
#include "link/SteadyLinkClock.h"
#include "link/gui/FrmPortDevice.h"
#include "link/gui/PortFailureText.h"
#include "link/gui/PortTexts.h"
#include "link/gui/PortUnusableMessage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace {

QString switchText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// Wide enough for a /dev/serial/by-id path to wrap at most once.
constexpr int kDeviceLabelWidth = 340;

std::optional<QString> showDeviceWindow(QWidget* owner, int portNumber,
                                        const QList<SerialDevice>& devices, const QStringList& held,
                                        const QString& currentPath)
{
    FrmPortDevice window(portNumber, devices, held, currentPath, owner);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.path();
}

}  // namespace

FrmCom::FrmCom(SerialPort& port, SettingsStore& settings, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_port(port), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(tr("通信設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_label1 = named(new QLabel(tr("通信ポート番号"), this), "Label1");
    m_cmbCom = named(new QComboBox(this), "Cmb_com");
    m_cmbCom->setMinimumContentsLength(4);
    m_frame1 = named(new QGroupBox(tr("通信ができないとき変更してみてください。"), this), "Frame1");
    m_checkDtr = named(new QCheckBox(tr("DTR (通常チェック無し)"), m_frame1), "CheckDTR");
    m_checkRts = named(new QCheckBox(tr("RTS (通常チェック有り)"), m_frame1), "CheckRTS");
    m_labelDsr = named(new QLabel(QStringLiteral("DSR"), m_frame1), "LabelDSR");
    m_labelCts = named(new QLabel(QStringLiteral("CTS"), m_frame1), "LabelCTS");
    m_cmdClose = named(new QPushButton(tr("閉じる"), this), "Cmd_Close");
    m_cmdClose->setAutoDefault(false);
    m_lblPortDevice = named(new QLabel(this), "Lbl_PortDevice");
    m_lblPortDevice->setWordWrap(true);
    m_lblPortDevice->setFixedWidth(kDeviceLabelWidth);
    m_lblPortDevice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblPortDevice->setTextFormat(Qt::PlainText);
    m_lblPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblPortDevice->setFrameShape(QFrame::StyledPanel);
    m_lblPortDevice->setMargin(4);
    m_cmdPortDevice = named(new QPushButton(PortTexts::kPortDeviceButton, this), "Cmd_PortDevice");
    m_cmdPortDevice->setAutoDefault(false);
    m_cmdDetectBoard =
        named(new QPushButton(PortTexts::kDetectBoardButton, this), "Cmd_DetectBoard");
    m_cmdDetectBoard->setAutoDefault(false);

    auto* portRow = new QGridLayout;
    portRow->addWidget(m_label1, 0, 0);
    portRow->addWidget(m_cmbCom, 0, 1);
    portRow->addWidget(m_lblPortDevice, 0, 2, 2, 1);
    auto* deviceButtons = new QHBoxLayout;
    deviceButtons->addWidget(m_cmdPortDevice);
    deviceButtons->addWidget(m_cmdDetectBoard);
    deviceButtons->addStretch();
    portRow->addLayout(deviceButtons, 1, 0, 1, 2, Qt::AlignTop);
    portRow->setRowStretch(1, 1);

    auto* lines = new QGridLayout(m_frame1);
    lines->addWidget(m_checkDtr, 0, 0);
    lines->addWidget(m_labelDsr, 0, 1);
    lines->addWidget(m_checkRts, 1, 0);
    lines->addWidget(m_labelCts, 1, 1);
    lines->setColumnStretch(2, 1);

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
    connect(m_cmdPortDevice, &QPushButton::clicked, this, &FrmCom::Cmd_PortDevice_Click);
    connect(m_cmdDetectBoard, &QPushButton::clicked, this, &FrmCom::Cmd_DetectBoard_Click);

    m_systemDevices = std::make_unique<SerialDevices>();
    m_systemHolders = std::make_unique<PortHolders>();
    m_steadyClock = std::make_unique<SteadyLinkClock>();
    m_systemFinder = std::make_unique<BoardFinder>(
        [](const QString&) { return std::make_unique<QtSerialPort>(); }, *m_steadyClock,
        *m_systemHolders);
    m_devices = m_systemDevices.get();
    m_holders = m_systemHolders.get();
    m_finder = m_systemFinder.get();
    m_chooseDevice = [this](int portNumber, const QList<SerialDevice>& devices,
                            const QStringList& held, const QString& currentPath) {
        return showDeviceWindow(this, portNumber, devices, held, currentPath);
    };
}

FrmCom::~FrmCom() = default;

void FrmCom::setPortLookup(const SerialDevices& devices, const PortHolders& holders,
                           BoardFinder& finder)
{
    m_devices = &devices;
    m_holders = &holders;
    m_finder = &finder;
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
    m_present = m_devices->present();
    // Showing the window tells its problems in the label only.
    choosePort(false);

    m_checkRts->setChecked(m_settings.getSwitch(kSettings, kRts, true));
    m_checkDtr->setChecked(m_settings.getSwitch(kSettings, kDtr, false));
}

void FrmCom::Cmb_com_Click() { choosePort(true); }

void FrmCom::choosePort(bool reportUnusable, const QString& board)
{
    const int index = m_cmbCom->currentIndex();
    if (index < 0) return;
    closePort();
    m_settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QString::number(index));
    const int portNumber = m_cmbCom->itemText(index).toInt();
    const QString devicePath = PortDevices(m_settings).devicePath(portNumber);
    m_port.setPortNumber(portNumber);
    m_port.setDevicePath(devicePath);

    // The system's device list is read again only for a device it did not hold: reading it
    // opens the built-in (8250) ports to see whether they are real.
    PortDeviceSummary summary = summaryFor(portNumber);
    if (summary.device.exists && !SerialDevices::isListed(devicePath, m_present)) {
        m_present = m_devices->present();
        summary = summaryFor(portNumber);
    }
    markItems();
    summary.board = board;
    const auto show = [&](PortDeviceSummary::State state, const QString& detail) {
        summary.state = state;
        summary.detail = detail;
        m_lblPortDevice->setText(summary.text());
    };

    // A number that leads nowhere is a normal sight while browsing the list, not an error.
    if (!summary.device.exists) {
        show(PortDeviceSummary::State::Missing, QString());
        return;
    }
    // Opening a port that another program uses would raise its lines under that program.
    if (const std::optional<PortHolders::Holder> holder = m_holders->holderOf(devicePath)) {
        show(PortDeviceSummary::State::Held, PortHolders::describe(*holder));
        if (!reportUnusable) return;
        PortOpenFailure failure;
        failure.kind = PortOpenFailure::Kind::InUse;
        failure.portNumber = portNumber;
        failure.devicePath = devicePath;
        failure.holder = PortHolders::describe(*holder);
        m_dialogs.showMessage(portUnusableMessage(portFailureText(failure)));
        return;
    }

    QString reason;
    if (m_port.open(&reason)) {
        show(PortDeviceSummary::State::Usable, QString());
        return;
    }
    PortOpenFailure failure = m_port.openFailure();
    if (failure.devicePath.isEmpty()) {
        failure.portNumber = portNumber;
        failure.devicePath = devicePath;
        failure.systemReason = reason;
    }
    show(PortDeviceSummary::State::Unusable,
         portFailureDetail(failure).replace(QStringLiteral("\n\n"), QStringLiteral("\n")));
    if (reportUnusable) m_dialogs.showMessage(portUnusableMessage(portFailureText(failure)));
}

void FrmCom::refreshDevices()
{
    m_present = m_devices->present();
    markItems();
}

void FrmCom::markItems()
{
    QFont bold = m_cmbCom->font();
    bold.setBold(true);
    for (int index = 0; index < m_cmbCom->count(); ++index) {
        const PortDeviceSummary summary = summaryFor(m_cmbCom->itemText(index).toInt());
        m_cmbCom->setItemData(index, summary.device.exists ? QVariant(bold) : QVariant(),
                              Qt::FontRole);
        m_cmbCom->setItemData(index, summary.text(), Qt::ToolTipRole);
    }
}

int FrmCom::currentPortNumber() const
{
    const int index = m_cmbCom->currentIndex();
    return index < 0 ? SerialPort::kFirstPortNumber : m_cmbCom->itemText(index).toInt();
}

PortDeviceSummary FrmCom::summaryFor(int portNumber) const
{
    const PortDirectory directory(m_settings, m_present);
    PortDeviceSummary summary;
    summary.portNumber = portNumber;
    summary.devicePath = directory.devicePath(portNumber);
    summary.overridden = directory.isOverridden(portNumber);
    summary.device = directory.device(portNumber);
    return summary;
}

void FrmCom::Cmd_PortDevice_Click()
{
    if (m_searching) return;
    const int portNumber = currentPortNumber();
    // The window's own test-opened port would show up as held.
    closePort();
    refreshDevices();
    QStringList held;
    for (const SerialDevice& device : m_present) {
        const std::optional<PortHolders::Holder> holder = m_holders->holderOf(device.path);
        held.append(holder ? PortHolders::describe(*holder) : QString());
    }
    const PortDirectory directory(m_settings, m_present);
    const QString currentPath =
        directory.isOverridden(portNumber) ? directory.devicePath(portNumber) : QString();
    const std::optional<QString> chosen = m_chooseDevice(portNumber, m_present, held, currentPath);
    if (!chosen) {
        choosePort(false);
        return;
    }
    // A device chosen by its node is stored by its stable link, which survives re-plugging.
    QString path = chosen->trimmed();
    const SerialDevice device = SerialDevices::describe(path, m_present);
    if (path == device.path && !device.stablePath.isEmpty()) path = device.stablePath;
    PortDirectory(m_settings, m_present).assign(portNumber, path);
    choosePort(true);
}

void FrmCom::Cmd_DetectBoard_Click()
{
    using namespace PortTexts;
    if (m_searching) return;
    MessageBoxRequest question;
    question.text = kDetectQuestion;
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::OkCancel;
    if (m_dialogs.showMessage(question) != MessageAnswer::Ok) return;

    const int current = currentPortNumber();
    closePort();
    refreshDevices();
    PortDirectory directory(m_settings, m_present);
    const QList<LinkSettings> order = directory.searchOrder(current);
    if (order.isEmpty()) {
        MessageBoxRequest none;
        none.text = kNoBoard;
        none.title = ProductInfo::kApplicationTitle;
        none.icon = MessageIcon::Information;
        none.detail = kNoDevices;
        m_dialogs.showMessage(none);
        choosePort(false);
        return;
    }

    setSearching(true);
    m_finder->setProgress([this](const LinkSettings& link) {
        m_lblPortDevice->setText(kSearching.arg(link.devicePath));
    });
    const BoardSearch search = m_finder->find(order);
    m_finder->setProgress({});
    setSearching(false);
    if (m_closeAfterSearch) {
        done(QDialog::Rejected);
        return;
    }

    if (const BoardSearch::Probe* board = search.board()) {
        const QString found = board->link.devicePath;
        const int portNumber = board->link.portNumber > 0 ? board->link.portNumber
                                                          : directory.numberFor(found, current);
        // Found by its node, a device is stored by its stable link; found through a path of
        // [Ports], it keeps that path. A number that already says as much is left as it is.
        const SerialDevice device = SerialDevices::describe(found, m_present);
        const QString path = device.path == found ? device.preferredPath() : found;
        if (path != directory.devicePath(portNumber)) directory.assign(portNumber, path);
        m_cmbCom->setCurrentIndex(portNumber - SerialPort::kFirstPortNumber);
        choosePort(true, board->detail);
        return;
    }
    if (search.cancelled) {
        choosePort(false);
        m_lblPortDevice->setText(kSearchStopped + QLatin1Char('\n') + m_lblPortDevice->text());
        return;
    }
    QStringList lines;
    for (const BoardSearch::Probe& probe : search.probes) {
        lines.append(PortDeviceSummary::probeText(probe));
    }
    lines.append(QString());
    lines.append(kNoBoardAdvice);
    MessageBoxRequest none;
    none.text = kNoBoard;
    none.title = ProductInfo::kApplicationTitle;
    none.icon = MessageIcon::Information;
    none.detail = lines.join(QLatin1Char('\n'));
    m_dialogs.showMessage(none);
    choosePort(false);
}

void FrmCom::setSearching(bool searching)
{
    m_searching = searching;
    m_cmbCom->setEnabled(!searching);
    m_cmdPortDevice->setEnabled(!searching);
    m_cmdDetectBoard->setEnabled(!searching);
    m_frame1->setEnabled(!searching);
    if (searching) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
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
    if (m_searching) {
        // The search is in this window's handler further up the stack: let it end first.
        m_closeAfterSearch = true;
        m_finder->cancel();
        return;
    }
    m_closeAfterSearch = false;
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
