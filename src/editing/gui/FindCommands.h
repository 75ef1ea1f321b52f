#pragma once

#include "editing/SearchPattern.h"
#include "editing/gui/EditControls.h"
#include "session/AppServices.h"

#include <QObject>
#include <QString>

#include <optional>

class FindDialog;
class ImageView;
class StatusPanels;

// Edit > Find (Ctrl+F), Find next (F3), Find previous (Shift+F3) and Replace (Ctrl+H), with the
// find window (FindDialog). A find goes on from the current cell, round the image's end (or
// start) when it must, and says so in status panel 1; the match found is selected, and every
// match in the image is marked in the grid. Replace puts the replacement in place of the match
// at the current cell and finds the next; Replace all does every match as one undo step. The
// image never changes size: a replacement must be as long as what it replaces.
class FindCommands : public QObject {
    Q_OBJECT
public:
    FindCommands(const EditControls& controls, const AppServices& services, ImageView& view,
                 StatusPanels& panels, QObject* parent = nullptr);

    [[nodiscard]] FindDialog& dialog() const { return *m_dialog; }

    void mnuFind_Click();
    void mnuReplace_Click();
    void mnuFindNext_Click();
    void mnuFindPrevious_Click();
    void replaceOne();
    void replaceAll();
    void setAccessRunning(bool running);

private:
    // The window's pattern for `text`; nothing, with a warning, when it is not one.
    [[nodiscard]] std::optional<QByteArray> bytesOf(const QString& text);
    // The find window's pattern and replacement, of one length; nothing, with a warning.
    [[nodiscard]] std::optional<std::pair<QByteArray, QByteArray>> replacement();
    // Finds `pattern` from `from` on (or back), selects and marks: panel 1's text.
    QString find(const QByteArray& pattern, qint64 from, bool forward);
    void findFromCurrent(bool forward);
    void warn(const QString& text);

    AppServices m_services;
    ImageView& m_view;
    StatusPanels& m_panels;
    FindDialog* m_dialog = nullptr;
    std::optional<qint64> m_lastMatch;  // the match the last find selected
    bool m_accessRunning = false;
};
