// Key paths of the printer product's registry tree, all under HKEY_LOCAL_MACHINE.
#pragma once

#include "printer/common/ProductKey.h"

#define PRODUCT_KEY QUILLON_PRODUCT_KEY
#define CONFIGURATIONS_KEY PRODUCT_KEY "\\Configurations"
#define CONFIGURATION_KEY PRODUCT_KEY "\\Configuration"
#define DEBUG_KEY PRODUCT_KEY "\\Debug"
