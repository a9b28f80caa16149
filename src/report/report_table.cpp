#include "report/report_table.h"
