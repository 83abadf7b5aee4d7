#include "printer/monitor/SessionMonitor.h"

#include "printer/monitor/SaveAsDialog.h"

#include <ctime>
#include <set>

namespace {

// How long after its deadline a question answered is left to its job.
constexpr int64_t STALE_AFTER_SECONDS = 60;

} // namespace

void SessionMonitor::HandlePending() {
    // A dialog's own message loop may call this again: one question at a time.
    if (m_bAsking)
        return;
    std::set<std::string> questions;
    for (const std::string& strName : m_folder.Names()) {
        std::string strError;
        if (const std::optional<std::string> key = JobKeyOf(strName, MESSAGE_SUFFIX)) {
            // Taken for a box before the file goes, so that a message whose file is gone
            // is one the boxes hold.
            const std::optional<std::string> text = m_folder.Read(strName, SESSION_FILE_MAX_BYTES);
            if (const std::optional<SessionMessage> message =
                    text ? ParseSessionMessage(*text, strError) : std::nullopt)
                m_boxes.Show(*message);
            m_folder.Remove(strName);
        } else if (const std::optional<std::string> questionKey =
                       JobKeyOf(strName, QUESTION_SUFFIX)) {
            questions.insert(*questionKey);
        } else if (const std::optional<std::string> answerKey = JobKeyOf(strName, ANSWER_SUFFIX)) {
            // An answer whose job no longer waits.
            if (!m_folder.Exists(*answerKey + QUESTION_SUFFIX))
                m_folder.Remove(strName);
        }
    }
    // A question answered whose job ended outright, long past its deadline: nobody removes
    // it and its answer but this program. Looked for by name, not in the listing, which
    // may miss a file while others are added.
    const int64_t nNow = static_cast<int64_t>(std::time(nullptr));
    for (auto it = m_asked.begin(); it != m_asked.end();) {
        if (nNow <= it->second + STALE_AFTER_SECONDS &&
            m_folder.Exists(it->first + QUESTION_SUFFIX)) {
            ++it;
            continue;
        }
        m_folder.Remove(it->first + QUESTION_SUFFIX);
        m_folder.Remove(it->first + ANSWER_SUFFIX);
        it = m_asked.erase(it);
    }
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
    m_asked[strKey] = question->nDeadline;
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
