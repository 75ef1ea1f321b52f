#pragma once

#include "session/AppServices.h"

#include <QObject>
#include <QString>

class ImageView;
class QAction;
class StatusPanels;

// Edit > Fill: the selection filled with one byte or a pattern of bytes repeated from its start
// ("FF", "00 FF", "DE AD BE EF"), asked for as hexadecimal text. One undo step.
class FillCommand : public QObject {
    Q_OBJECT
public:
    FillCommand(QAction* mnuFill, const AppServices& services, ImageView& view,
                StatusPanels& panels, QObject* parent = nullptr);

    void mnuFill_Click();

private:
    AppServices m_services;
    ImageView& m_view;
    StatusPanels& m_panels;
    QString m_lastPattern = QStringLiteral("FF");
};
