#include "core/tire_catalogue.h"
