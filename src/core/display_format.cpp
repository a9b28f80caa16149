#include "core/display_format.h"
