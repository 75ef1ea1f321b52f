#pragma once

class QAction;
class QWidget;

// The main window's entry to the production window (オプション → 量産) and the window it
// belongs to.
struct ProductionControls {
    QWidget* owner = nullptr;
    QAction* mnuProduction = nullptr;
};
