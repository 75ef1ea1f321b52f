#pragma once

#include "session/AppServices.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AboutWindow;
class BoardWindow;
class QMainWindow;
class QAction;
class QWidget;

// The main window's entries that open the auxiliary windows, and the grid the insertion-direction
// window keeps clear of.
struct AuxiliaryControls {
    QAction* mnuBoardInfomation = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QWidget* MSFGrid1 = nullptr;
};

// The main window's Options > insertion-direction toggle and its Help menu, with the windows
// they open: frmBoard (shown beside the main window, never blocking it) and frmAbout (modal).
class AuxiliaryWindows : public QObject {
    Q_OBJECT
public:
    AuxiliaryWindows(QMainWindow& mainWindow, const AuxiliaryControls& controls,
                     const AppServices& services);
    ~AuxiliaryWindows() override;

    // Takes the about window that start-up prepared; its first opening shows that one.
    void adoptAboutWindow(std::unique_ptr<AboutWindow> window);

    // Start-up's last step: the insertion-direction window, when its menu entry is ticked.
    void showBoardIfTicked();

    [[nodiscard]] BoardWindow* boardWindow() const;
    [[nodiscard]] AboutWindow* aboutWindow() const;

private:
    // Qt has already flipped the tick when these run; `ticked` is the new state.
    void mnuBoardInfomation_Click(bool ticked);
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void showBoard();
    void placeBoard();

    QMainWindow& m_mainWindow;
    AuxiliaryControls m_controls;
    AppServices m_services;
    // Both windows belong to the main window; closing either discards it.
    QPointer<BoardWindow> m_board;
    QPointer<AboutWindow> m_about;
};
