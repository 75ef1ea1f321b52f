#pragma once

#include "session/AppServices.h"

#include <QObject>

#include <functional>

class ComparisonView;
class QAction;
class StatusPanels;

// "ファイルと比較(&M)..." (mnuFileCompare): the memory image against a chosen image file, the
// differences shown like a verify's (grid marks and the list); the image is not changed.
class FileCompareCommand : public QObject {
    Q_OBJECT
public:
    FileCompareCommand(const AppServices& services, StatusPanels& panels,
                       ComparisonView& comparisons, QObject* parent = nullptr);

    // While `busy` answers true (an access runs) the command does nothing.
    void setBusyCheck(std::function<bool()> busy) { m_busyCheck = std::move(busy); }

    // Connects ファイルと比較 (mnuFileCompare) to the command.
    void connectControl(QAction* mnuFileCompare);
    // While an access runs the command is held off.
    void setAccessRunning(bool running);

    void mnuFileCompare_Click();
    // Compares the image with the file at `path`; false when the file could not be compared.
    bool compareWith(const QString& path, int filterIndex = -1);

private:
    void warn(const QString& text);

    AppServices m_services;
    StatusPanels& m_panels;
    ComparisonView& m_comparisons;
    std::function<bool()> m_busyCheck;
    QAction* m_mnuFileCompare = nullptr;
};
