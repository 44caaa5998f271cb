#pragma once
// Which control of a connection page holds the text its road reads.
#include "app/navigation.h"

// The control id, or 0 for a page without a road.
int RoadControlId(WizardPage page);
