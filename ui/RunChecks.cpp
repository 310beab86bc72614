#include "ui/RunChecks.h"

// Placeholder: implemented by its owner.
