#include "printer/backend/DestinationPrompt.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/SessionChannel.h"
#include "printer/backend/Utf8.h"
#include "printer/session/SessionProtocol.h"

#include <cups/backend.h>
#include <poll.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// How often the answer is looked for: quick against a user's click, cheap over minutes.
constexpr std::chrono::milliseconds POLL_INTERVAL{50};

bool IsWellFormedUtf8(const std::string& strText) {
    for (size_t i = 0; i < strText.size();) {
        const std::optional<Utf8Char> c = DecodeUtf8(strText, i);
        if (!c)
            return false;
        i += c->nBytes;
    }
    return true;
}

// Sleeps a poll interval; true when nCancelFd became readable meanwhile.
bool WaitOrCancelled(int nCancelFd) {
    if (nCancelFd < 0) {
        std::this_thread::sleep_for(POLL_INTERVAL);
        return false;
    }
    pollfd cancel{nCancelFd, POLLIN, 0};
    return poll(&cancel, 1, static_cast<int>(POLL_INTERVAL.count())) > 0;
}

// The question and its answer leave the folder with the job, whatever became of it; the
// question first, so the session program, which drops an answer whose question is gone,
// never leaves one behind.
class QuestionFiles {
public:
    QuestionFiles(const SessionChannel& channel, std::string strKey)
        : m_channel(channel), m_strKey(std::move(strKey)) {}
    QuestionFiles(const QuestionFiles&) = delete;
    QuestionFiles& operator=(const QuestionFiles&) = delete;
    ~QuestionFiles() {
        m_channel.Remove(m_strKey + QUESTION_SUFFIX);
        m_channel.Remove(m_strKey + ANSWER_SUFFIX);
    }

private:
    const SessionChannel& m_channel;
    std::string m_strKey;
};

enum class Waited { Answered, NoAnswer, Refused, JobCancelled };

// Waits for the answer to strKey's question until the deadline, the session program's end
// or the job's cancel.
Waited WaitForAnswer(const SessionChannel& channel, const std::string& strKey,
                     Clock::time_point deadline, int nCancelFd, SaveAnswer& answer,
                     std::string& strNote) {
    const std::string strName = strKey + ANSWER_SUFFIX;
    for (;;) {
        // The session program may answer and end at once: the answer is looked for first.
        const bool bSessionRuns = channel.SessionRuns();
        std::string strText;
        std::string strError;
        switch (channel.Take(strName, strText, strError)) {
        case SessionChannel::Read::Missing:
            break;
        case SessionChannel::Read::Refused:
            strNote = "the answer " + strError;
            return Waited::Refused;
        case SessionChannel::Read::Taken: {
            std::optional<SaveAnswer> parsed = ParseAnswer(strText, strError);
            if (!parsed) {
                strNote = "the answer " + strError;
                return Waited::Refused;
            }
            if (parsed->strJob != strKey) {
                // Another job's answer under this job's name: not this user's choice.
                LogDebug("Ignored an answer for job " + parsed->strJob + " in place of " + strKey);
                channel.Remove(strName);
                break;
            }
            answer = *parsed;
            return Waited::Answered;
        }
        }
        if (!bSessionRuns) {
            strNote = "the session program ended without an answer";
            return Waited::NoAnswer;
        }
        if (Clock::now() >= deadline) {
            strNote = "no answer within the deadline";
            return Waited::NoAnswer;
        }
        if (WaitOrCancelled(nCancelFd))
            return Waited::JobCancelled;
    }
}

// The user's choice as the printer side takes a ticket's path: a Windows path on one of
// the prefix's drives, reached folder by folder without another user's link.
bool AcceptChoice(const PrefixAccess& prefix, const SaveAnswer& answer, Destination& destination,
                  std::string& strNote) {
    if (!IsWellFormedUtf8(answer.strTarget)) {
        strNote = "the chosen path is not well-formed UTF-8";
        return false;
    }
    std::string strError;
    std::optional<WindowsPath> path = SplitWindowsPath(answer.strTarget, strError);
    if (!path) {
        strNote = "the chosen path: " + strError;
        return false;
    }
    std::optional<TargetPath> target =
        ResolveTarget(prefix.nDosdevicesFd, prefix.strDosdevices, *path, *prefix.pWalk, strError);
    if (!target) {
        strNote = "the chosen path: " + strError;
        return false;
    }
    destination = Destination{std::move(*target), std::move(*path), answer.bReplace};
    return true;
}

enum class PromptResult {
    Suggestion,    // nobody answered: the suggestion stays (strNote says why)
    Chosen,        // the user chose: destination is the user's choice
    Refused,       // the answer could not be used: the suggestion stays (strNote says why)
    UserCancelled, // the user cancelled: nothing is written
    JobCancelled,  // CUPS cancelled the job while it waited
};

// Asks, and waits for the answer; on Chosen, destination is the user's choice.
PromptResult PromptForDestination(const PrefixAccess& prefix, const std::string& strJobKey,
                                  Destination& destination, const JobLimits& limits, int nCancelFd,
                                  std::string& strNote) {
    std::optional<SessionChannel> channel =
        SessionChannel::Open(prefix.nDosdevicesFd, prefix.uid, *prefix.pWalk, strNote);
    if (!channel)
        return PromptResult::Suggestion;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.saveQuestion);
    SaveQuestion question;
    question.strJob = strJobKey;
    question.strSuggestion = WindowsPathText(destination.path);
    question.nDeadline = static_cast<int64_t>(std::time(nullptr)) + seconds.count();
    const QuestionFiles files(*channel, strJobKey);
    std::string strError;
    if (!channel->Put(strJobKey + QUESTION_SUFFIX, FormatQuestion(question), strError)) {
        strNote = "the question could not be written: " + strError;
        return PromptResult::Suggestion;
    }
    LogInfo("Waiting for the user to choose where to save");
    SaveAnswer answer;
    switch (WaitForAnswer(*channel, strJobKey, Clock::now() + limits.saveQuestion, nCancelFd,
                          answer, strNote)) {
    case Waited::NoAnswer:
        return PromptResult::Suggestion;
    case Waited::Refused:
        return PromptResult::Refused;
    case Waited::JobCancelled:
        return PromptResult::JobCancelled;
    case Waited::Answered:
        break;
    }
    if (answer.Cancelled())
        return PromptResult::UserCancelled;
    return AcceptChoice(prefix, answer, destination, strNote) ? PromptResult::Chosen
                                                              : PromptResult::Refused;
}

} // namespace

std::string WindowsPathText(const WindowsPath& path) {
    std::string strText(1, static_cast<char>(path.cDrive - 'a' + 'A'));
    strText += ':';
    for (const std::string& strComponent : path.components)
        strText += "\\" + strComponent;
    return strText;
}

std::optional<int> SettleDestination(const PrefixAccess& prefix, const std::string& strJobKey,
                                     Destination& destination, const JobLimits& limits,
                                     int nCancelFd, bool& bChoiceRefused) {
    std::string strNote;
    switch (PromptForDestination(prefix, strJobKey, destination, limits, nCancelFd, strNote)) {
    case PromptResult::Chosen:
        LogDebug("The user chose " + WindowsPathText(destination.path));
        break;
    case PromptResult::Suggestion:
        LogWarning("Nobody was asked where to save (" + strNote + "): the suggested name.");
        break;
    case PromptResult::Refused:
        LogDebug("The user's choice is refused: " + strNote);
        LogWarning("The place the user chose cannot be used: the suggested name.");
        bChoiceRefused = true;
        break;
    case PromptResult::UserCancelled:
        LogWarning("Cancelled by the user: no PDF was written.");
        return CUPS_BACKEND_CANCEL;
    case PromptResult::JobCancelled:
        LogError("Conversion failed: the job was cancelled.");
        return CUPS_BACKEND_FAILED;
    }
    return std::nullopt;
}

void TellChoiceRefused(const PrefixAccess& prefix, const std::string& strJobKey,
                       const Destination& destination, const std::string& strWritten) {
    WindowsPath written = destination.path;
    written.components.back() = strWritten;
    TellSession(prefix, strJobKey,
                {"Der gewählte Ort kann für die PDF-Datei nicht verwendet werden: Er liegt nicht "
                 "auf einem Laufwerk dieser Umgebung, fehlt oder ist nicht zugänglich.",
                 "Die PDF-Datei wurde stattdessen unter „" +
                     Printable(WindowsPathText(written), true) + "“ gespeichert."});
}

void TellSession(const PrefixAccess& prefix, const std::string& strJobKey,
                 const std::vector<std::string>& lines) {
    std::string strWhy;
    std::optional<SessionChannel> channel =
        SessionChannel::Open(prefix.nDosdevicesFd, prefix.uid, *prefix.pWalk, strWhy);
    if (!channel) {
        LogDebug("The user is not told: " + strWhy);
        return;
    }
    std::string strError;
    if (!channel->Put(strJobKey + MESSAGE_SUFFIX,
                      FormatSessionMessage(SessionMessage{strJobKey, lines}), strError))
        LogDebug("The user could not be told: " + strError);
}
