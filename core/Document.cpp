#include "core/Document.h"

// Placeholder: implemented by its owner.
