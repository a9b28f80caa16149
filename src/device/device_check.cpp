#include "device/device_settings.h"
