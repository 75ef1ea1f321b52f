#pragma once

#include "editing/gui/EditControls.h"
#include "session/AppServices.h"

#include <QObject>

class ImageView;
class StatusPanels;

// Edit > Copy (Ctrl+C), Copy as text (Ctrl+Shift+C), Paste (Ctrl+V) and Select all (Ctrl+A).
//
// A copy puts the selected bytes on the clipboard twice: as text (hexadecimal "0A 1B ...", or
// the text column's characters) and as the bytes themselves under application/octet-stream,
// which other hex editors take. A paste takes those bytes, or else reads the clipboard's text
// as hexadecimal bytes, and writes them over the image from the current cell on; the image
// never grows, and a paste that would run past the part's end asks first.
class ClipboardCommands : public QObject {
    Q_OBJECT
public:
    static inline const QString kBytesType = QStringLiteral("application/octet-stream");

    ClipboardCommands(const EditControls& controls, const AppServices& services, ImageView& view,
                      StatusPanels& panels, QObject* parent = nullptr);

    void mnuCopy_Click();
    void mnuCopyText_Click();
    void mnuPaste_Click();
    void mnuSelectAll_Click();

private:
    void copy(bool asText);
    void refuse(const QString& text);

    AppServices m_services;
    ImageView& m_view;
    StatusPanels& m_panels;
};
