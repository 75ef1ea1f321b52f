// Planted by the layering test: the command line including a window.
#include "link/gui/AccessTexts.h"
