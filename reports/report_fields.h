// Master-record fields owned by the reports subsystem.
#pragma once
#include <cstdint>

struct ReportFields {
  int32_t REPORT_RESERVED = 0;
};
