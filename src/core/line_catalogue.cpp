#include "core/line_catalogue.h"
