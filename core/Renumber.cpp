#include "core/Renumber.h"

// Placeholder: implemented by its owner.
