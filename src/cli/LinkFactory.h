#pragma once

// The link factory moved to the link folder, where the production round runner uses it too.
#include "link/LinkFactory.h"
