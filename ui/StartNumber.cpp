#include "ui/StartNumber.h"

// Placeholder: implemented by its owner.
