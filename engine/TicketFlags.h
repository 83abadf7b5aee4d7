// The job ticket's flags item from the program's settings and switches.
#pragma once

#include "app/SwitchFlags.h"

#include <cstdint>

// The flags number, 0 to 15: TICKET_FLAG_NO_PROMPT when SaveRequest is exactly 1, the
// General bits 30 and 27, and TICKET_FLAG_OVERWRITE by the single-file reading of the
// overwrite rule (IsOverwriteAllowed), for every job. dwGeneral is the value after the E
// and V switches were applied to it; switch U is not folded into General, so it is passed.
uint32_t ComputeTicketFlags(int32_t nSaveRequest, uint32_t dwGeneral, const SwitchFlags& switches);
