#include "ui/LocalisedText.h"

#include "engine/PrinterDiscovery.h"

#include <cstring>

namespace {

struct Placeholder {
    const char* pszName;
    const char* pszValue;
};

// Tried in this order; no value contains "$", so no replacement creates a placeholder.
const Placeholder kPlaceholders[] = {
    {"$PR$", PRODUCT_NAME},       {"$PN$", DEFAULT_PORT_NAME},
    {"$SN$", COMPANY_SHORT_NAME}, {"$COMPANY$", COMPANY_SHORT_NAME},
    {"$PRODUCT$", PRODUCT_NAME},  {"$SUPPORTEMAIL$", SUPPORT_EMAIL},
};

// Replaces the leftmost occurrence of one placeholder; false when there is none or the
// result with its terminator would not fit.
bool ReplaceFirst(char* pszText, size_t nCapacity, const Placeholder& placeholder) {
    char* pFound = std::strstr(pszText, placeholder.pszName);
    if (!pFound)
        return false;
    size_t t = std::strlen(pszText);
    size_t p = std::strlen(placeholder.pszName);
    size_t v = std::strlen(placeholder.pszValue);
    if (t - p + v >= nCapacity)
        return false;
    std::memmove(pFound + v, pFound + p, std::strlen(pFound + p) + 1);
    std::memcpy(pFound, placeholder.pszValue, v);
    return true;
}

} // namespace

char* ExpandPlaceholders(char* pszText, size_t nCapacity) {
    bool bApplied;
    do {
        bApplied = false;
        for (const Placeholder& placeholder : kPlaceholders) {
            if (ReplaceFirst(pszText, nCapacity, placeholder)) {
                bApplied = true;
                break;
            }
        }
    } while (bApplied);
    return pszText;
}
