// Product placeholders such as "$PR$" in resource texts, replaced in place.
#pragma once

#include <cstddef>

// The product's names as the texts show them.
#define PRODUCT_NAME "Veltrane Quillon"
#define COMPANY_SHORT_NAME "VeltraneSystems"
#define SUPPORT_EMAIL "support@veltrane.example"

// Replaces every placeholder in the NUL-terminated text held by a buffer of nCapacity
// bytes, leftmost first and in table order. A replacement whose result would not fit
// is skipped (its placeholder stays); later placeholders are still replaced.
char* ExpandPlaceholders(char* pszText, size_t nCapacity);
