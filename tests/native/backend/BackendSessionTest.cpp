// The printer side asking the session program where to save, and telling it of failures,
// against a stand-in of the session program: a thread that holds the session's lock and
// answers each question as the case says. Every answer is hostile input to the backend:
// only a well-formed answer for this very job, naming a place the ticket's path could
// name, decides where the PDF goes; anything else leaves the suggestion.
#include "printer/backend/BackendJob.h"
#include "printer/session/SessionProtocol.h"

#include "BackendPdf.h"
#include "BackendTestSupport.h"

#include <cups/backend.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string ONE_PAGE = SentJob(
    "%!PS\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Auftrag) show showpage\n");

// Takes the file's text and removes it.
std::string TakeFile(const fs::path& path) {
    const std::string strText = BackendTestDir::ReadFile(path);
    fs::remove(path);
    return strText;
}

// The session program's stand-in: holds the lock of the session folder and answers each
// question with what answer() makes of it (nothing for an empty text).
class SessionStub {
public:
    using Answer = std::function<std::string(const SaveQuestion&)>;

    SessionStub(const fs::path& folder, Answer answer) : m_folder(folder), m_answer(answer) {
        fs::create_directories(folder);
        m_lock = open((folder / SESSION_LOCK_FILE).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        EXPECT_EQ(fcntl(m_lock, F_OFD_SETLK, &lock), 0);
        m_thread = std::thread([this] { Run(); });
    }
    SessionStub(const SessionStub&) = delete;
    SessionStub& operator=(const SessionStub&) = delete;
    ~SessionStub() { Stop(); }

    // Ends the session program: its lock goes.
    void Stop() {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_lock >= 0)
            close(m_lock);
        m_lock = -1;
    }

    std::vector<SaveQuestion> Questions() const { return m_questions; }
    std::vector<SessionMessage> Messages() const { return m_messages; }

private:
    void Run() {
        while (!m_bStop) {
            for (const auto& entry : fs::directory_iterator(m_folder)) {
                const std::string strName = entry.path().filename();
                std::string strError;
                if (JobKeyOf(strName, MESSAGE_SUFFIX)) {
                    if (auto message = ParseSessionMessage(TakeFile(entry.path()), strError))
                        m_messages.push_back(*message);
                }
                const std::optional<std::string> key = JobKeyOf(strName, QUESTION_SUFFIX);
                if (!key || m_answered.count(*key))
                    continue;
                m_answered.insert(*key);
                const auto question =
                    ParseQuestion(BackendTestDir::ReadFile(entry.path()), strError);
                ASSERT_TRUE(question) << strError;
                m_questions.push_back(*question);
                const std::string strAnswer = m_answer(*question);
                if (strAnswer.empty())
                    continue;
                const fs::path temp = m_folder / ".antwort";
                BackendTestDir::WriteFile(temp, strAnswer);
                fs::rename(temp, m_folder / (*key + ANSWER_SUFFIX));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    fs::path m_folder;
    Answer m_answer;
    int m_lock = -1;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    std::set<std::string> m_answered;
    std::vector<SaveQuestion> m_questions;
    std::vector<SessionMessage> m_messages;
};

class BackendSessionTest : public testing::Test {
protected:
    void SetUp() override {
        m_strPrefix = m_dir.MakePrefix();
        m_drive = m_dir.Path() / "prefix" / "drive_c";
        m_session = m_drive / "ProgramData" / "Veltrane Quillon" / "Sitzung";
        fs::create_directories(m_drive / "Out");
        fs::create_directories(m_drive / "Anders");
        m_strJobFile = (m_dir.Path() / "job").string();
        BackendTestDir::WriteFile(m_strJobFile, ONE_PAGE);
    }

    // A job whose ticket leaves the destination to the printer product (flag 1 clear).
    BackendJob Job(const std::string& strTicket = "~JS~ d=C:\\Out\\abbildung c= f=0") const {
        BackendJob job = TestJob(m_strPrefix, m_strJobFile, strTicket);
        job.limits.saveQuestion = std::chrono::seconds(20);
        return job;
    }

    // Every file below drive C but the session's folder.
    std::set<std::string> Written() const {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_drive))
            if (entry.is_regular_file() && entry.path().parent_path() != m_session)
                files.insert(entry.path().lexically_relative(m_drive).string());
        return files;
    }

    BackendTestDir m_dir;
    std::string m_strPrefix;
    fs::path m_drive;
    fs::path m_session;
    std::string m_strJobFile;
};

std::string AnswerText(const std::string& strJob, const std::string& strTarget, bool bReplace) {
    return FormatAnswer(SaveAnswer{strJob, strTarget, bReplace});
}

// What the user answers, and where the PDF must be then.
struct AnswerCase {
    const char* pszName;
    std::function<std::string(const SaveQuestion&)> answer;
    int nExitCode;
    std::set<std::string> written;
    void (*prepare)(const fs::path& drive) = nullptr;
};

const std::set<std::string> SUGGESTION = {"Out/abbildung.pdf"};

const AnswerCase ANSWER_CASES[] = {
    {"another folder and name",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\anders\\Neu.pdf", false); },
     CUPS_BACKEND_OK,
     {"Anders/Neu.pdf"}},
    {"cancelled",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "", false); },
     CUPS_BACKEND_CANCEL,
     {}},
    {"replacing what the user confirmed",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Anders\\alt.pdf", true); },
     CUPS_BACKEND_OK,
     {"Anders/alt.pdf"},
     [](const fs::path& drive) { BackendTestDir::WriteFile(drive / "Anders" / "alt.pdf", "old"); }},
    {"not replacing what the user did not confirm",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Anders\\alt.pdf", false); },
     CUPS_BACKEND_OK,
     {"Anders/alt.pdf", "Anders/alt0.pdf"},
     [](const fs::path& drive) { BackendTestDir::WriteFile(drive / "Anders" / "alt.pdf", "old"); }},
    {"a path with dot dot",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Anders\\..\\..\\x.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION},
    {"a drive the prefix does not map",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "Q:\\x.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION},
    {"a Unix path",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "\\\\?\\unix\\tmp\\x.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION},
    {"a folder that is not there",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Fehlt\\x.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION},
    {"through another user's link",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Fremd\\x.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION,
     [](const fs::path& drive) {
         fs::create_directory_symlink(drive / "Anders", drive / "Fremd");
         EXPECT_EQ(lchown((drive / "Fremd").c_str(), 54321, 54321), 0);
     }},
    {"a path that is not UTF-8",
     [](const SaveQuestion& q) { return AnswerText(q.strJob, "C:\\Anders\\\xC3(.pdf", false); },
     CUPS_BACKEND_OK, SUGGESTION},
    {"malformed",
     [](const SaveQuestion& q) { return "Veltrane Quillon: Antwort\nAuftrag: " + q.strJob + "\n"; },
     CUPS_BACKEND_OK, SUGGESTION},
    {"oversized",
     [](const SaveQuestion& q) {
         return AnswerText(q.strJob, "C:\\Anders\\" + std::string(5000, 'a') + ".pdf", false);
     },
     CUPS_BACKEND_OK, SUGGESTION},
};

class BackendAnswerTest : public BackendSessionTest,
                          public testing::WithParamInterface<AnswerCase> {};

TEST_P(BackendAnswerTest, PdfGoesWhereTheAnswerMayLeadIt) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const AnswerCase& c = GetParam();
    if (c.prepare) {
        if (geteuid() != 0 && std::string(c.pszName).find("link") != std::string::npos)
            GTEST_SKIP() << "another user's link needs root";
        c.prepare(m_drive);
    }
    SessionStub session(m_session, c.answer);
    EXPECT_EQ(RunBackendJob(Job(), -1), c.nExitCode);
    session.Stop();
    EXPECT_EQ(Written(), c.written);
    const std::vector<SaveQuestion> questions = session.Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].strSuggestion, "C:\\Out\\abbildung.pdf");
    // The question and its answer leave with the job.
    for (const std::string& strName : BackendTestDir::List(m_session))
        EXPECT_TRUE(strName == SESSION_LOCK_FILE || JobKeyOf(strName, MESSAGE_SUFFIX)) << strName;
}

INSTANTIATE_TEST_SUITE_P(Cases, BackendAnswerTest, testing::ValuesIn(ANSWER_CASES), CaseName());

TEST_F(BackendSessionTest, ReplacesOnlyWhatTheUserConfirmed) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    BackendTestDir::WriteFile(m_drive / "Anders" / "alt.pdf", "old");
    for (bool bReplace : {false, true}) {
        SessionStub session(m_session, [&](const SaveQuestion& q) {
            return AnswerText(q.strJob, "C:\\Anders\\alt.pdf", bReplace);
        });
        EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK);
        EXPECT_EQ(BackendTestDir::ReadFile(m_drive / "Anders" / "alt.pdf").substr(0, 5),
                  bReplace ? "%PDF-" : "old");
    }
}

// An answer for another job under this job's name is dropped; the job waits for its own.
TEST_F(BackendSessionTest, AnswerForAnotherJobIsIgnored) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const fs::path folder = m_session;
    SessionStub session(m_session, [folder](const SaveQuestion& q) {
        const fs::path answer = folder / (q.strJob + ANSWER_SUFFIX);
        BackendTestDir::WriteFile(answer,
                                  AnswerText("7-0123456789abcdef", "C:\\Anders\\fremd.pdf", true));
        for (int i = 0; i < 200 && fs::exists(answer); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(fs::exists(answer)) << "the other job's answer was not dropped";
        return AnswerText(q.strJob, "C:\\Anders\\eigen.pdf", false);
    });
    EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK);
    session.Stop();
    EXPECT_EQ(Written(), std::set<std::string>{"Anders/eigen.pdf"});
}

// An answer that is no file of the user's: a link to a file (which might be anyone's), a
// pipe that would hold the backend.
TEST_F(BackendSessionTest, AnswerThatIsNoPlainFileIsRefused) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    const fs::path folder = m_session;
    const fs::path elsewhere = m_dir.Path() / "antwort";
    for (bool bLink : {true, false}) {
        SessionStub session(m_session, [&](const SaveQuestion& q) {
            const fs::path answer = folder / (q.strJob + ANSWER_SUFFIX);
            if (bLink) {
                BackendTestDir::WriteFile(elsewhere,
                                          AnswerText(q.strJob, "C:\\Anders\\x.pdf", false));
                fs::create_symlink(elsewhere, answer);
            } else {
                EXPECT_EQ(mkfifo(answer.c_str(), 0600), 0);
            }
            return std::string();
        });
        EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK) << bLink;
        session.Stop();
        EXPECT_EQ(Written(), SUGGESTION) << bLink;
        fs::remove(m_drive / "Out" / "abbildung.pdf");
    }
}

// No session program: no lock held, a session folder another user owns or others may
// change. The suggestion at once, nobody asked.
TEST_F(BackendSessionTest, WithoutTrustedSessionProgramNobodyIsAsked) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    fs::create_directories(m_session);
    BackendTestDir::WriteFile(m_session / SESSION_LOCK_FILE, "");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(Written(), SUGGESTION);

    for (int nCase = 0; nCase < 2; ++nCase) {
        if (nCase == 0 && geteuid() != 0)
            continue; // another user's folder needs root
        SessionStub session(m_session, [](const SaveQuestion& q) {
            return AnswerText(q.strJob, "C:\\Anders\\x.pdf", false);
        });
        if (nCase == 0)
            EXPECT_EQ(chown(m_session.c_str(), 54321, 54321), 0);
        else
            fs::permissions(m_session, fs::perms::others_write, fs::perm_options::add);
        EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK) << nCase;
        session.Stop();
        EXPECT_TRUE(session.Questions().empty()) << nCase;
        EXPECT_FALSE(fs::exists(m_drive / "Anders" / "x.pdf")) << nCase;
        EXPECT_EQ(chown(m_session.c_str(), geteuid(), getegid()), 0);
        fs::permissions(m_session, fs::perms::owner_all);
    }
}

// A session program that never answers: the suggestion after the deadline; one that ends
// without answering: the suggestion at once.
TEST_F(BackendSessionTest, NoAnswerInTimeGivesTheSuggestion) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    BackendJob job = Job();
    job.limits.saveQuestion = std::chrono::milliseconds(300);
    {
        SessionStub session(m_session, [](const SaveQuestion&) { return std::string(); });
        EXPECT_EQ(RunBackendJob(job, -1), CUPS_BACKEND_OK);
        EXPECT_EQ(session.Questions().size(), 1u);
    }
    EXPECT_EQ(Written(), SUGGESTION);

    job.limits.saveQuestion = std::chrono::seconds(60);
    SessionStub* pSession = nullptr;
    std::thread ender;
    SessionStub session(m_session, [&](const SaveQuestion&) {
        ender = std::thread([&] { pSession->Stop(); });
        return std::string();
    });
    pSession = &session;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunBackendJob(job, -1), CUPS_BACKEND_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    ender.join();
    EXPECT_EQ(Written(), (std::set<std::string>{"Out/abbildung.pdf", "Out/abbildung0.pdf"}));
}

// A failure once the target is known: the session program is told which PDF was not made,
// why, and where the report lies; a refused choice: where the PDF went instead.
TEST_F(BackendSessionTest, SessionProgramIsTold) {
    if (!HaveCommand("gs"))
        GTEST_SKIP() << "Ghostscript missing";
    SessionStub session(
        m_session, [](const SaveQuestion& q) { return AnswerText(q.strJob, "Q:\\x.pdf", false); });
    EXPECT_EQ(RunBackendJob(Job(), -1), CUPS_BACKEND_OK);
    BackendTestDir::WriteFile(m_strJobFile, SentJob("%!PS\nshowpage\ngibtsnicht\n"));
    EXPECT_EQ(RunBackendJob(Job("~JS~ d=C:\\Out\\kaputt.pdf c= f=1"), -1), CUPS_BACKEND_FAILED);
    for (int i = 0; i < 200 && session.Messages().size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    session.Stop();
    const std::vector<SessionMessage> messages = session.Messages();
    ASSERT_EQ(messages.size(), 2u);
    const auto text = [](const SessionMessage& message) {
        std::string strText;
        for (const std::string& strLine : message.lines)
            strText += strLine + "\n";
        return strText;
    };
    EXPECT_NE(text(messages[0]).find("stattdessen unter „C:\\Out\\abbildung.pdf“"),
              std::string::npos)
        << text(messages[0]);
    for (const char* pszPart : {"„C:\\Out\\kaputt.pdf“ wurde nicht erstellt", "PostScript-Fehler",
                                "„C:\\Out\\kaputt.log“"})
        EXPECT_NE(text(messages[1]).find(pszPart), std::string::npos) << text(messages[1]);
}

} // namespace
