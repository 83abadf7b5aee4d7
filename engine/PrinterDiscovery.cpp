#include "engine/PrinterDiscovery.h"

#include "res/resource.h"

#include <climits>
#include <cstring>

namespace {

bool SameText(const char* pszA, const char* pszB) {
    return pszA && pszB && std::strcmp(pszA, pszB) == 0;
}

} // namespace

int FindConverterRecord(const PrinterRecord* pRecords, size_t nCount, const char* pszPortName) {
    // The index is an int; a list longer than that cannot come from the spooler.
    for (size_t i = 0; i < nCount && i <= static_cast<size_t>(INT_MAX); ++i) {
        if (SameText(pRecords[i].pszDriverName, CONVERTER_DRIVER_NAME) ||
            SameText(pRecords[i].pszPortName, pszPortName))
            return static_cast<int>(i);
    }
    return -1;
}

int PrinterStatusMessage(uint32_t nStatus) {
    switch (nStatus) {
    case 0:
        return 0;
    case 1: // PRINTER_STATUS_PAUSED
        return IDS_PRINTER_PAUSED;
    case 4: // PRINTER_STATUS_PENDING_DELETION
        return IDS_PRINTER_DELETED;
    default:
        return IDS_PRINTER_ERROR;
    }
}
