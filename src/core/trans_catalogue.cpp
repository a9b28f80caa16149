#include "core/trans_catalogue.h"
