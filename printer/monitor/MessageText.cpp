#include "printer/monitor/MessageText.h"

namespace {

std::string Paragraphs(const SessionMessage& message) {
    std::string strText;
    for (const std::string& strLine : message.lines)
        strText += (strText.empty() ? "" : "\n\n") + strLine;
    return strText;
}

} // namespace

std::string MessageBoxText(const std::vector<SessionMessage>& messages) {
    if (messages.size() == 1)
        return Paragraphs(messages[0]);
    std::string strText = "Veltrane Quillon meldet " + std::to_string(messages.size()) +
                          " Umwandlungen, die nicht wie gewünscht verlaufen sind:";
    for (size_t i = 0; i < messages.size() && i < MESSAGES_SHOWN; ++i) {
        strText += "\n\n" + std::to_string(i + 1) + ". ";
        for (size_t nLine = 0; nLine < messages[i].lines.size(); ++nLine)
            strText += (nLine == 0 ? "" : "\n") + messages[i].lines[nLine];
    }
    if (messages.size() > MESSAGES_SHOWN)
        strText += "\n\n... und " + std::to_string(messages.size() - MESSAGES_SHOWN) +
                   " weitere. Die Berichte liegen jeweils neben der fehlenden PDF-Datei.";
    return strText;
}
