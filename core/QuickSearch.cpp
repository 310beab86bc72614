#include "core/QuickSearch.h"

// Placeholder: implemented by its owner.
