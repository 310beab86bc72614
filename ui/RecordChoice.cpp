#include "ui/RecordChoice.h"

// Placeholder: implemented by its owner.
