#pragma once

#include <QObject>

class ImageView;
class StatusPanels;
struct ProgramState;

// Status panel 3 while more than the current cell is selected: where the selection begins and ends,
// its length, its 16-bit sum and its CRC-32, taken again when its bytes change. With the current
// cell alone the panel shows "ADDRESS:" and the current cell's address, as the byte editor
// leaves it.
class SelectionStatus : public QObject {
    Q_OBJECT
public:
    SelectionStatus(ImageView& view, const ProgramState& state, StatusPanels& panels,
                    QObject* parent = nullptr);

    void show();

private:
    ImageView& m_view;
    const ProgramState& m_state;
    StatusPanels& m_panels;
    bool m_shown = false;  // panel 3 shows a selection
};
