#include "ui/StatusTexts.h"

// Placeholder: implemented by its owner.
