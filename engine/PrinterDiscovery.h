// Which local printer is the converter queue, and which message a queue status gives.
#pragma once

#include <cstddef>
#include <cstdint>

// The printer product's driver name, the first criterion of the search.
constexpr const char CONVERTER_DRIVER_NAME[] = "Veltrane Quillon";

// The port the printer product installs its queue on unless "PortName" says otherwise.
constexpr const char DEFAULT_PORT_NAME[] = "VeltraneQuillonPort";

// The fields of a spooler level-2 record that the search and the status test use.
struct PrinterRecord {
    const char* pszPrinterName;
    const char* pszPortName;
    const char* pszDriverName;
    uint32_t nStatus;
};

// Index of the first record whose driver is the converter's or whose port is exactly
// pszPortName; -1 when none matches. Comparisons are case-sensitive over the whole text,
// so a record listing several ports does not match; null texts never match.
int FindConverterRecord(const PrinterRecord* pRecords, size_t nCount, const char* pszPortName);

// Message for a queue's status: 0 when ready, else the string id that says why not.
// Only the exact values paused and pending deletion have their own message.
int PrinterStatusMessage(uint32_t nStatus);
