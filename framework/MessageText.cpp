#include "framework/MessageText.h"

std::string InsertArgument(const std::string& strPattern, const std::string& strArgument) {
    std::string strResult;
    size_t nStart = 0;
    for (size_t nFound; (nFound = strPattern.find("%1", nStart)) != std::string::npos;
         nStart = nFound + 2)
        strResult.append(strPattern, nStart, nFound - nStart).append(strArgument);
    return strResult.append(strPattern, nStart, std::string::npos);
}
