#include "devices/gui/DevicePanel.h"
#include "image/gui/UnsavedQuestion.h"

#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "devices/AccessSizes.h"
#include "devices/gui/DeviceTexts.h"
#include "session/ProgramState.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>

DevicePanel::DevicePanel(const DeviceControls& controls, const AppServices& services,
                         StatusPanels& panels)
    : m_controls(controls), m_services(services), m_panels(panels)
{
    m_clearImage = [this] {
        const auto& device = m_services.state.selectedDevice;
        MemoryImage blank;
        blank.recreate(device ? device->memorySize() : 0);
        m_services.state.editor.replaceWhole(std::move(blank), EditKind::BufferClear);
    };
    connect(m_controls.Combo_device, &QComboBox::currentIndexChanged, this,
            &DevicePanel::Combo_device_Click);
    connect(m_controls.CmbSize, &QComboBox::currentIndexChanged, this, &DevicePanel::CmbSize_Click);
    // A turn of the mouse wheel over the list, on its way down the window, would change the
    // device: the list takes the wheel only once it has the keyboard focus.
    m_controls.Combo_device->setFocusPolicy(Qt::StrongFocus);
    m_controls.Combo_device->installEventFilter(this);
}

void DevicePanel::setAccessRunning(bool running)
{
    m_controls.Combo_device->setEnabled(!running);
    m_controls.CmbSize->setEnabled(!running);
}

bool DevicePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.Combo_device && event->type() == QEvent::Wheel &&
        !m_controls.Combo_device->hasFocus()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void DevicePanel::fillFixedAccessSizes()
{
    QList<qint64> sizes;
    for (int exponent = 4; exponent <= 17; ++exponent) sizes.append(qint64{1} << exponent);
    fillAccessSizes(sizes);
    const int stored =
        m_services.settings.getIndex(SettingsKeys::kSettings, SettingsKeys::kAccessSize, 0, 0,
                                     static_cast<int>(sizes.size()) - 1);
    {
        const QSignalBlocker blocker(m_controls.CmbSize);
        m_controls.CmbSize->setCurrentIndex(stored);
    }
    CmbSize_Click();
}

void DevicePanel::fillAccessSizes(const QList<qint64>& sizes)
{
    const QSignalBlocker blocker(m_controls.CmbSize);
    m_controls.CmbSize->clear();
    for (qint64 size : sizes) m_controls.CmbSize->addItem(QString::number(size));
    m_controls.CmbSize->setCurrentIndex(-1);
}

void DevicePanel::fillDeviceList(QStringList& notices)
{
    const DeviceCatalogue& catalogue = m_services.state.catalogue;
    {
        const QSignalBlocker blocker(m_controls.Combo_device);
        m_controls.Combo_device->clear();
        for (int i = 0; i < catalogue.size(); ++i) {
            m_controls.Combo_device->addItem(catalogue.record(i).listLine());
        }
    }
    if (catalogue.isEmpty()) {
        notices.append(tr("vorle6.ini にデバイスが登録されていません。"));
        selectNoDevice();
        return;
    }

    int index = 0;
    const double stored =
        m_services.settings.getNumber(SettingsKeys::kSettings, SettingsKeys::kDut, 0);
    if (stored >= 0 && stored < catalogue.size() && stored == static_cast<int>(stored)) {
        index = static_cast<int>(stored);
    } else {
        notices.append(tr("保存されていたデバイス番号 %1 はデバイスリストにありません。"
                          "先頭のデバイスを選択しました。")
                           .arg(m_services.settings.get(SettingsKeys::kSettings, SettingsKeys::kDut,
                                                        QString())));
    }

    QString problem;
    if (!isUsable(index, &problem)) {
        notices.append(tr("デバイス「%1」は使用できません。%2")
                           .arg(catalogue.record(index).field(DeviceRecord::ListName), problem));
        index = firstUsableRow();
        if (index < 0) {
            notices.append(tr("vorle6.ini に使用できるデバイスがありません。"));
            setDeviceListIndex(-1);
            selectNoDevice();
            return;
        }
    }
    setDeviceListIndex(index);
    selectDevice(index);
}

void DevicePanel::setDeviceListIndex(int index)
{
    const QSignalBlocker blocker(m_controls.Combo_device);
    m_controls.Combo_device->setCurrentIndex(index);
}

bool DevicePanel::isUsable(int index, QString* problem) const
{
    SelectedDevice device;
    DeviceRowProblem why;
    const bool usable =
        SelectedDevice::fromRecord(m_services.state.catalogue.record(index), device, &why);
    if (problem) *problem = rowProblemText(why);
    return usable;
}

int DevicePanel::firstUsableRow() const
{
    for (int i = 0; i < m_services.state.catalogue.size(); ++i) {
        if (isUsable(i)) return i;
    }
    return -1;
}

void DevicePanel::Combo_device_Click()
{
    const int index = m_controls.Combo_device->currentIndex();
    if (index < 0 || index >= m_services.state.catalogue.size()) return;

    QString problem;
    if (!isUsable(index, &problem)) {
        // The row cannot describe a part: keep the device that was selected before.
        setDeviceListIndex(m_selectedIndex);
        MessageBoxRequest message;
        message.title = ProductInfo::kMessageTitle;
        message.icon = MessageIcon::Warning;
        message.text =
            tr("デバイス「%1」は選択できません。\r\n%2\r\n"
               "vorle6.ini の記述を確認してください。")
                .arg(m_services.state.catalogue.record(index).field(DeviceRecord::ListName),
                     problem);
        m_services.dialogs.showMessage(message);
        return;
    }
    // Another device re-creates the image: edits that are in no file are lost unless kept.
    if (index != m_selectedIndex && !mayDiscard(m_services.state.unsaved, m_services.dialogs)) {
        setDeviceListIndex(m_selectedIndex);
        return;
    }
    selectDevice(index);
}

void DevicePanel::selectDevice(int index)
{
    const DeviceRecord& record = m_services.state.catalogue.record(index);
    SelectedDevice device;
    if (!SelectedDevice::fromRecord(record, device)) return;

    m_selectedIndex = index;
    m_services.state.selectedDevice = device;
    const UiLanguage language = m_services.state.language;
    m_panels.setText(4, statusNoteText(device, language));
    m_controls.Lbl_PageSize->setText(pageSizeLabelText(device));
    m_controls.Lbl_Spec->setText(specLineText(device, record, language));
    m_panels.setText(1, tr("しばらくお待ちください。"));
    m_clearImage();
    m_services.settings.save(SettingsKeys::kSettings, SettingsKeys::kDut, QString::number(index));
    m_panels.setText(1, QString());

    const QList<qint64> sizes = accessSizes(device);
    fillAccessSizes(sizes);
    if (!sizes.isEmpty()) {
        {
            const QSignalBlocker blocker(m_controls.CmbSize);
            m_controls.CmbSize->setCurrentIndex(static_cast<int>(sizes.size()) - 1);
        }
        CmbSize_Click();
    }
    emit deviceSelected();
}

void DevicePanel::selectNoDevice()
{
    m_selectedIndex = -1;
    m_services.state.selectedDevice.reset();
    m_panels.setText(4, QString());
    m_controls.Lbl_PageSize->clear();
    m_controls.Lbl_Spec->clear();
    m_clearImage();
    fillAccessSizes({});
    emit deviceSelected();
}

void DevicePanel::CmbSize_Click()
{
    const int index = m_controls.CmbSize->currentIndex();
    if (index < 0) return;
    m_services.settings.save(SettingsKeys::kSettings, SettingsKeys::kAccessSize,
                             QString::number(index));
}

qint64 DevicePanel::accessSize() const
{
    if (m_controls.CmbSize->currentIndex() < 0) return 0;
    return m_controls.CmbSize->currentText().toLongLong();
}

QString DevicePanel::selectedName() const
{
    if (m_selectedIndex < 0) return {};
    return m_services.state.catalogue.record(m_selectedIndex).field(DeviceRecord::ListName);
}
