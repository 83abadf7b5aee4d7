#include "engine/TicketFlags.h"

#include "app/OutputName.h"
#include "config/GeneralBits.h"
#include "engine/JobTicket.h"

uint32_t ComputeTicketFlags(int32_t nSaveRequest, uint32_t dwGeneral, const SwitchFlags& switches) {
    uint32_t nFlags = 0;
    if (nSaveRequest == 1)
        nFlags |= TICKET_FLAG_NO_PROMPT;
    if (dwGeneral & GENERAL_SWITCH_V)
        nFlags |= TICKET_FLAG_GENERAL_30;
    if (IsOverwriteAllowed(NamingForm::SingleFile, dwGeneral, switches.m_bUSet != 0,
                           switches.m_bUValue != 0))
        nFlags |= TICKET_FLAG_OVERWRITE;
    if (dwGeneral & GENERAL_SWITCH_E)
        nFlags |= TICKET_FLAG_GENERAL_27;
    return nFlags;
}
