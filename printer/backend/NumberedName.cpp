#include "printer/backend/NumberedName.h"

std::string NumberedName(const std::string& strName, unsigned nNumber) {
    const size_t nDot = strName.rfind('.');
    const size_t nStemEnd = nDot == std::string::npos ? strName.size() : nDot;
    return strName.substr(0, nStemEnd) + std::to_string(nNumber) + strName.substr(nStemEnd);
}
