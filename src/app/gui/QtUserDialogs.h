#pragma once

#include "base/UserDialogs.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

// The real message boxes and file dialogs (dlgCommonDialog). Like a common dialog control it
// remembers the last file name, which the next dialog shows unless told otherwise.
class QtUserDialogs : public QObject, public UserDialogs {
    Q_OBJECT
public:
    explicit QtUserDialogs(QObject* parent = nullptr);

    // The window that owns the dialogs.
    void setOwner(QWidget* owner) { m_owner = owner; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    FileDialogResult showFileDialog(const FileDialogRequest& request) override;
    TextInputResult askText(const TextInputRequest& request) override;

    // "Hexファイル|*.hex|全てのファイル|*.*|" -> "Hexファイル (*.hex);;全てのファイル (*.*)"
    [[nodiscard]] static QString qtFilter(const QString& barSeparatedFilter);
    // The same, one entry per filter of the request's list, in its order.
    [[nodiscard]] static QStringList qtFilters(const QString& barSeparatedFilter);
    // The extension added to a typed name without one while `qtFilter` is chosen: the request's
    // default where the filter allows it, else the filter's first extension.
    [[nodiscard]] static QString defaultSuffixFor(const QString& qtFilter,
                                                  const QString& defaultExtension);

private:
    QPointer<QWidget> m_owner;
    QString m_lastFileName;
};
