#include "core/FixedWidthNumber.h"

// Placeholder: implemented by its owner.
