#include "printer/monitor/SessionMonitor.h"

#include "printer/monitor/SaveAsDialog.h"

#include <ctime>

void SessionMonitor::HandlePending() {
    // A dialog's own message loop may call this again: one question at a time.
    if (m_bAsking)
        return;
    std::set<std::string> questions;
    for (const std::string& strName : m_folder.Names()) {
        std::string strError;
        if (const std::optional<std::string> key = JobKeyOf(strName, MESSAGE_SUFFIX)) {
            const std::optional<std::string> text = m_folder.Read(strName, SESSION_FILE_MAX_BYTES);
            m_folder.Remove(strName);
            if (const std::optional<SessionMessage> message =
                    text ? ParseSessionMessage(*text, strError) : std::nullopt)
                m_boxes.Show(*message);
        } else if (const std::optional<std::string> questionKey =
                       JobKeyOf(strName, QUESTION_SUFFIX)) {
            questions.insert(*questionKey);
        } else if (const std::optional<std::string> answerKey = JobKeyOf(strName, ANSWER_SUFFIX)) {
            // An answer whose job no longer waits.
            if (!m_folder.Exists(*answerKey + QUESTION_SUFFIX))
                m_folder.Remove(strName);
        }
    }
    for (auto it = m_asked.begin(); it != m_asked.end();)
        it = questions.count(*it) ? std::next(it) : m_asked.erase(it);
    for (const std::string& strKey : questions) {
        if (m_asked.count(strKey) != 0)
            continue;
        const std::optional<std::string> text =
            m_folder.Read(strKey + QUESTION_SUFFIX, SESSION_FILE_MAX_BYTES);
        if (text)
            Answer(strKey, *text);
    }
}

void SessionMonitor::Answer(const std::string& strKey, const std::string& strQuestion) {
    std::string strError;
    const std::optional<SaveQuestion> question = ParseQuestion(strQuestion, strError);
    // A question no job waits for any more (its backend was ended outright), or one that
    // is not the printer side's.
    if (!question || question->strJob != strKey ||
        question->nDeadline <= static_cast<int64_t>(std::time(nullptr))) {
        m_folder.Remove(strKey + QUESTION_SUFFIX);
        return;
    }
    m_asked.insert(strKey);
    m_bAsking = true;
    const SaveAnswer answer = AskWhereToSave(m_hOwner, *question);
    m_bAsking = false;
    const std::string strAnswer = strKey + ANSWER_SUFFIX;
    m_folder.Write(strAnswer, FormatAnswer(answer));
    // The job may have stopped waiting while the dialog was open: then nobody takes the
    // answer. The printer side removes its question before the answer, so an answer
    // written after that is removed here.
    if (!m_folder.Exists(strKey + QUESTION_SUFFIX))
        m_folder.Remove(strAnswer);
}
