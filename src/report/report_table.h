#pragma once
// The report: twelve text columns per row, at least fourteen rows.
