#include "core/loop_calc.h"
