// Loading the settings of the configuration in use from the printer product's registry tree.
#pragma once

#include "app/SwitchFlags.h"
#include "config/ConversionSettings.h"

#include <string>

// The settings key of a configuration: its subkey of Configurations, or the Configuration
// key itself when the name is empty.
std::string ConfigurationKeyPath(const std::string& strActiveConfiguration);

// Fills every cell and block from the registry (reporting each value that cannot be read)
// and applies the /D, /E and /V overrides. The cells must have been allocated.
void LoadSettings(ConversionSettings& settings, const SwitchFlags& switches,
                  const std::string& strActiveConfiguration);
