// Messages with an argument: "%1" in a resource text replaced by a path.
#pragma once

#include <string>

// Replaces every "%1" in strPattern by strArgument, taken literally; every other byte,
// line feeds included, stays as the resource holds it.
std::string InsertArgument(const std::string& strPattern, const std::string& strArgument);
