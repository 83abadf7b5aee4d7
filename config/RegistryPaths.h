// Key paths of the printer product's registry tree, all under HKEY_LOCAL_MACHINE.
#pragma once

#define PRODUCT_KEY "SOFTWARE\\VeltraneSystems\\Quillon"
#define CONFIGURATIONS_KEY PRODUCT_KEY "\\Configurations"
#define CONFIGURATION_KEY PRODUCT_KEY "\\Configuration"
#define DEBUG_KEY PRODUCT_KEY "\\Debug"
