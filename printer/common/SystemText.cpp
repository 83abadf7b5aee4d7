#include "printer/common/SystemText.h"

std::string SystemText(LONG nError) {
    char szText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(nError), 0, szText, sizeof szText, nullptr);
    std::string strText = szText;
    while (!strText.empty() &&
           (strText.back() == '\r' || strText.back() == '\n' || strText.back() == ' '))
        strText.pop_back();
    if (strText.empty())
        strText = "Fehler " + std::to_string(nError);
    return strText;
}
