// Planted by the layering test: the device catalogue reaching up to the programmer link.
#include "link/ProgrammerLink.h"
