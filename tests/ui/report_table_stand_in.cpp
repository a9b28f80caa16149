#include "../report/report_table_stand_in.cpp"
