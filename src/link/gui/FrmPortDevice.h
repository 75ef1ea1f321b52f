#pragma once

#include "link/SerialDevice.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// frmPortDevice: the serial devices present (path, maker, product, serial number, stable
// path, whether another program holds one) and a free path field, to point one port number at
// a device. Choosing a row puts the device's stable path in the field when it has one.
class FrmPortDevice : public QDialog {
    Q_OBJECT
public:
    // `held` gives, per row of `devices`, who holds that device (empty when no one does).
    FrmPortDevice(int portNumber, const QList<SerialDevice>& devices, const QStringList& held,
                  const QString& currentPath, QWidget* parent = nullptr);

    // The path as it stands in the field, trimmed; empty returns the number to its usual
    // device.
    [[nodiscard]] QString path() const;

    void Lst_Device_Click();

private:
    QList<SerialDevice> m_devices;
    QLabel* m_listLabel = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_pathLabel = nullptr;
    QLineEdit* m_path = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
