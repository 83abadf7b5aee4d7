// The printer product's registry tree as a fresh installation leaves it, added to what
// is there: only missing values are written, a value that exists is never changed.
#pragma once

#include <windows.h>

#include <string>

// What stopped the seeding: the value (or the folder lookup) and the Win32 error.
struct SeedFailure {
    std::string strWhere;
    LONG nError = ERROR_SUCCESS;
};

// Adds to HKEY_LOCAL_MACHINE\SOFTWARE\VeltraneSystems\Quillon what a fresh installation
// holds and is missing:
//   Configuration   SaveRequest 1, Install (the product's folder under Program Files),
//                   PortName, and every value of a configuration as a new one has it;
//   Configurations  only while there is no configuration at all: "Standard" (output
//                   beside the input, Ghostscript's own PDF) and "Office Print" (into the
//                   public documents' PDF folder, overwriting, small PDFs), "Standard"
//                   active (ConfigurationValues.h); values missing from an
//                   existing "Standard" or "Office Print" are added, and
//                   ActiveConfiguration when it is missing and "Standard" exists;
//   Debug           BuildTime and KernelBuild.
// The folder of a newly written OutputPath is created. A configuration a user deleted is
// not brought back. False with the failure when a key or value could not be written;
// nWritten says how many values were added.
bool SeedFreshDefaults(SeedFailure& failure, int& nWritten);
