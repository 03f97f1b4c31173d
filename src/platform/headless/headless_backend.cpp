// Headless backend (placeholder until it lands).
#include "headless_backend.h"
