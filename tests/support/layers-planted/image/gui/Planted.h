// Planted by the layering test: a feature's window part including the window program.
#include "app/gui/MainWindowControls.h"
