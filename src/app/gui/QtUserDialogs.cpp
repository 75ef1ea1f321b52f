#include "app/gui/QtUserDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

QtUserDialogs::QtUserDialogs(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("dlgCommonDialog"));
}

MessageAnswer QtUserDialogs::showMessage(const MessageBoxRequest& request)
{
    QMessageBox box(m_owner);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    if (!request.detail.isEmpty()) box.setDetailedText(request.detail);
    switch (request.icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (request.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

FileDialogResult QtUserDialogs::showFileDialog(const FileDialogRequest& request)
{
    const QStringList filters = qtFilters(request.filter);
    QFileDialog dialog(m_owner, request.title, request.initialFolder,
                       filters.join(QStringLiteral(";;")));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(request.defaultExtension);
    // A name typed without an extension gets the chosen format's, not always Intel HEX's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(defaultSuffixFor(filter, request.defaultExtension));
    });
    if (request.kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        // A typed name of a file that does not exist is handed back, not refused.
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    const QString name = request.fileName.isEmpty() ? m_lastFileName : request.fileName;
    if (!name.isEmpty()) dialog.selectFile(name);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.accepted = true;
    result.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    result.fileTitle = QFileInfo(result.fileName).fileName();
    result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    m_lastFileName = result.fileName;
    return result;
}

TextInputResult QtUserDialogs::askText(const TextInputRequest& request)
{
    QInputDialog dialog(m_owner);
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(request.label);
    dialog.setTextValue(request.text);
    dialog.setInputMode(QInputDialog::TextInput);
    TextInputResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    result.text = dialog.textValue();
    return result;
}

QStringList QtUserDialogs::qtFilters(const QString& barSeparatedFilter)
{
    const QStringList parts = barSeparatedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) continue;
        filters.append(QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))));
    }
    return filters;
}

QString QtUserDialogs::qtFilter(const QString& barSeparatedFilter)
{
    return qtFilters(barSeparatedFilter).join(QStringLiteral(";;"));
}

QString QtUserDialogs::defaultSuffixFor(const QString& qtFilter, const QString& defaultExtension)
{
    // "Name (*.a *.b)": the patterns stand between the last parentheses.
    const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = qtFilter.lastIndexOf(QLatin1Char(')'));
    const QStringList patterns =
        open >= 0 && close > open
            ? qtFilter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts)
            : QStringList();
    QString first;
    for (const QString& pattern : patterns) {
        if (!pattern.startsWith(QStringLiteral("*."))) continue;
        const QString extension = pattern.mid(2);
        if (extension == u"*" || extension.compare(defaultExtension, Qt::CaseInsensitive) == 0) {
            return defaultExtension;
        }
        if (first.isEmpty()) first = extension;
    }
    return first.isEmpty() ? defaultExtension : first;
}
