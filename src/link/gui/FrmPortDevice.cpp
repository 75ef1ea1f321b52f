#include "link/gui/FrmPortDevice.h"

#include "base/gui/NamedWidgets.h"
#include "link/PortDevices.h"
#include "link/gui/PortTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { Path, Maker, Product, Serial, StablePath, State, ColumnCount };

}  // namespace

FrmPortDevice::FrmPortDevice(int portNumber, const QList<SerialDevice>& devices,
                             const QStringList& held, const QString& currentPath, QWidget* parent)
    : QDialog(parent), m_devices(devices)
{
    using namespace PortTexts;
    setObjectName(QStringLiteral("frmPortDevice"));
    setWindowTitle(kDeviceWindowTitle.arg(portNumber));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_listLabel = named(new QLabel(kDeviceListLabel, this), "Label1");
    m_list = named(new QTreeWidget(this), "Lst_Device");
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({kColumnPath, kColumnMaker, kColumnProduct, kColumnSerial,
                             kColumnStablePath, kColumnState});
    for (int row = 0; row < devices.size(); ++row) {
        const SerialDevice& device = devices.at(row);
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(Path, device.path);
        item->setText(Maker, device.maker);
        item->setText(Product, device.product);
        item->setText(Serial, device.serialNumber);
        item->setText(StablePath, device.stablePath);
        const QString holder = held.value(row);
        if (!holder.isEmpty()) item->setText(State, kDeviceHeld.arg(holder));
        item->setToolTip(StablePath, device.stablePath);
    }
    if (devices.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_list, {kNoDeviceRows});
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
    }
    m_list->header()->setStretchLastSection(true);
    for (int column = 0; column < ColumnCount; ++column) m_list->resizeColumnToContents(column);
    m_list->setMinimumWidth(560);
    m_list->setMinimumHeight(140);

    m_pathLabel = named(new QLabel(kPathLabel, this), "Label2");
    m_path = named(new QLineEdit(currentPath, this), "Text_Path");
    m_pathLabel->setBuddy(m_path);
    m_note = named(new QLabel(kPathNote.arg(PortDevices::defaultDevicePath(portNumber)), this),
                   "Label3");
    m_note->setWordWrap(true);
    m_ok = named(new QPushButton(kOkButton, this), "Cmd_OK");
    m_cancel = named(new QPushButton(kCancelButton, this), "Cmd_Cancel");
    m_ok->setDefault(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_pathLabel);
    pathRow->addWidget(m_path, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listLabel);
    layout->addWidget(m_list, 1);
    layout->addLayout(pathRow);
    layout->addWidget(m_note);
    layout->addLayout(buttonRow);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &FrmPortDevice::Lst_Device_Click);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The row of the device the number leads to now, if it is in the list.
    for (int row = 0; row < devices.size(); ++row) {
        const SerialDevice& device = devices.at(row);
        if (!currentPath.isEmpty() &&
            (currentPath == device.path || currentPath == device.stablePath)) {
            const QSignalBlocker quiet(m_list);
            m_list->setCurrentItem(m_list->topLevelItem(row));
        }
    }
}

QString FrmPortDevice::path() const { return m_path->text().trimmed(); }

void FrmPortDevice::Lst_Device_Click()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) return;
    const int row = m_list->indexOfTopLevelItem(selected.first());
    if (row < 0 || row >= m_devices.size()) return;
    m_path->setText(m_devices.at(row).preferredPath());
}
