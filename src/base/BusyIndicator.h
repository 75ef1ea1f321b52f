#pragma once

// The main window's mouse pointer as the logic sees it: the hourglass while busy.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void setBusy(bool busy) = 0;
};
