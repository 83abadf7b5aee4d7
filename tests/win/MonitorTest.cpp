// The printer product's session program QuillonMonitor.exe, run as the printer side meets
// it, on a scratch session folder: it holds the folder's lock while it runs, and one
// instance only; it answers a question with the "Speichern unter" dialog (the suggestion
// offered, asking before replacing); it shows messages in boxes, gathered when several
// come while one is open; it drops what no job waits for; WM_CLOSE ends it.
#include "Waiting.h"

#include "printer/monitor/MessageText.h"
#include "printer/session/SessionProtocol.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <string>

namespace {

const char kDialogCaption[] = "Speichern unter";
const char kBoxCaption[] = "Veltrane Quillon";
const int kNameBox = 0x47C;
// The text control of a message box.
const int kBoxTextId = 0xFFFF;

std::string ExeFolder() {
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\'));
}

// Shares deletion too: the program renames its answer into place, and for a moment after
// the rename still holds the file with the right to delete it, which an open that does
// not share deletion (the C library's) is refused for.
std::string ReadAll(const std::string& strPath) {
    const HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return {};
    std::string strText(SESSION_FILE_MAX_BYTES + 1, '\0');
    DWORD dwRead = 0;
    if (!ReadFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwRead, nullptr))
        dwRead = 0;
    CloseHandle(hFile);
    strText.resize(dwRead);
    return strText;
}

bool Exists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes a file as the printer side does: whole, under its name at once.
void Put(const std::string& strFolder, const std::string& strName, const std::string& strText) {
    const std::string strTemp = strFolder + "\\.neu";
    std::ofstream(strTemp, std::ios::binary) << strText;
    MoveFileExA(strTemp.c_str(), (strFolder + "\\" + strName).c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The file name box of the dialog: the edit control inside the combo boxes.
HWND NameEdit(HWND hDialog) {
    HWND hBox = GetDlgItem(hDialog, kNameBox);
    HWND hCombo = FindWindowExA(hBox, nullptr, "ComboBox", nullptr);
    return FindWindowExA(hCombo ? hCombo : hBox, nullptr, "Edit", nullptr);
}

std::string Text(HWND hWnd) {
    char szText[4096] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

class MonitorTest : public testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH] = "";
        GetTempPathA(sizeof szTemp, szTemp);
        m_strFolder = std::string(szTemp) + "quillon-sitzung-" + std::to_string(GetTickCount());
        m_pi = Start();
        ASSERT_TRUE(m_pi.hProcess);
        ASSERT_SOON(Exists(m_strFolder + "\\" + SESSION_LOCK_FILE));
    }

    void TearDown() override {
        if (m_pi.hProcess) {
            if (HWND hWnd = FindWindowA("VeltraneQuillonSitzung", nullptr))
                PostMessageA(hWnd, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(m_pi.hProcess, kWaitMs) != WAIT_OBJECT_0)
                TerminateProcess(m_pi.hProcess, 1);
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
        const std::string strPattern = m_strFolder + "\\*";
        WIN32_FIND_DATAA found{};
        const HANDLE hFind = FindFirstFileA(strPattern.c_str(), &found);
        if (hFind != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((m_strFolder + "\\" + found.cFileName).c_str());
            while (FindNextFileA(hFind, &found));
            FindClose(hFind);
        }
        RemoveDirectoryA(m_strFolder.c_str());
    }

    PROCESS_INFORMATION Start() const {
        std::string strCommand =
            "\"" + ExeFolder() + "\\QuillonMonitor.exe\" \"" + m_strFolder + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        CreateProcessA(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi);
        return pi;
    }

    std::string Ask(const std::string& strKey, const std::string& strSuggestion,
                    int64_t nSecondsLeft = 60) {
        Put(m_strFolder, strKey + QUESTION_SUFFIX,
            FormatQuestion(SaveQuestion{strKey, strSuggestion,
                                        static_cast<int64_t>(std::time(nullptr)) + nSecondsLeft}));
        return m_strFolder + "\\" + strKey + ANSWER_SUFFIX;
    }

    std::string m_strFolder;
    PROCESS_INFORMATION m_pi{};
};

std::optional<SaveAnswer> ReadAnswer(const std::string& strPath) {
    std::string strError;
    std::optional<SaveAnswer> answer = ParseAnswer(ReadAll(strPath), strError);
    EXPECT_TRUE(answer) << strError;
    return answer;
}

TEST_F(MonitorTest, OneInstanceAtATime) {
    PROCESS_INFORMATION second = Start();
    ASSERT_TRUE(second.hProcess);
    EXPECT_EQ(WaitForSingleObject(second.hProcess, kWaitMs), WAIT_OBJECT_0);
    DWORD dwExit = 1;
    GetExitCodeProcess(second.hProcess, &dwExit);
    EXPECT_EQ(dwExit, 0u);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    // The first one is still there, and has shown nothing.
    EXPECT_EQ(WaitForSingleObject(m_pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

TEST_F(MonitorTest, AsksWhereToSaveAndAnswers) {
    const std::string strExisting = m_strFolder + "\\vorhanden.pdf";
    std::ofstream(strExisting) << "alt";
    const std::string strAnswer = Ask("7-00000000000000aa", m_strFolder + "\\Bericht.pdf");
    HWND hDialog = WaitForWindow(kDialogCaption);
    ASSERT_NE(hDialog, nullptr);
    EXPECT_SOON_EQ(Text(NameEdit(hDialog)), std::string("Bericht.pdf"));
    // Another name, of a file that is there: the dialog asks, and the user agrees.
    SendMessageA(NameEdit(hDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strExisting.c_str()));
    PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
    HWND hAsk = nullptr;
    ASSERT_SOON((hAsk = GetLastActivePopup(hDialog)) != hDialog && hAsk != nullptr);
    SendMessageA(GetDlgItem(hAsk, IDYES), BM_CLICK, 0, 0);
    ASSERT_SOON(Exists(strAnswer));
    const std::optional<SaveAnswer> answer = ReadAnswer(strAnswer);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->strJob, "7-00000000000000aa");
    EXPECT_EQ(answer->strTarget, strExisting);
    EXPECT_TRUE(answer->bReplace);

    // A new name, with the extension left to the dialog: nothing to replace.
    const std::string strSecond = Ask("8-00000000000000bb", m_strFolder + "\\Zweiter.pdf");
    ASSERT_NE(hDialog = WaitForWindow(kDialogCaption), nullptr);
    SendMessageA(NameEdit(hDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("neu"));
    PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
    ASSERT_SOON(Exists(strSecond));
    const std::optional<SaveAnswer> second = ReadAnswer(strSecond);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->strTarget, m_strFolder + "\\neu.pdf");
    EXPECT_FALSE(second->bReplace);
}

TEST_F(MonitorTest, CancelIsAnswered) {
    const std::string strAnswer = Ask("9-00000000000000cc", m_strFolder + "\\Bericht.pdf");
    HWND hDialog = WaitForWindow(kDialogCaption);
    ASSERT_NE(hDialog, nullptr);
    PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_SOON(Exists(strAnswer));
    const std::optional<SaveAnswer> answer = ReadAnswer(strAnswer);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->Cancelled());
}

// A question past its deadline (its job no longer waits) and one that is not the printer
// side's are dropped without a dialog; an answer whose question is gone too.
TEST_F(MonitorTest, DropsWhatNoJobWaitsFor) {
    const std::string strKey = "10-00000000000000dd";
    Ask(strKey, m_strFolder + "\\Alt.pdf", -1);
    Put(m_strFolder, "11-00000000000000ee" + std::string(QUESTION_SUFFIX), "kein Format\n");
    Put(m_strFolder, "12-00000000000000ff" + std::string(ANSWER_SUFFIX), "Antwort\n");
    EXPECT_SOON(!Exists(m_strFolder + "\\" + strKey + QUESTION_SUFFIX));
    EXPECT_SOON(!Exists(m_strFolder + "\\11-00000000000000ee" + QUESTION_SUFFIX));
    EXPECT_SOON(!Exists(m_strFolder + "\\12-00000000000000ff" + ANSWER_SUFFIX));
    EXPECT_EQ(FindWindowA("#32770", kDialogCaption), nullptr);
}

// One box at a time: what comes while it is open is gathered into the next one.
TEST_F(MonitorTest, MessagesDoNotPileUp) {
    const auto tell = [&](int nJob) {
        const std::string strKey = std::to_string(nJob) + "-00000000000000aa";
        Put(m_strFolder, strKey + MESSAGE_SUFFIX,
            FormatSessionMessage(
                SessionMessage{strKey, {"Auftrag " + std::to_string(nJob), "Grund"}}));
    };
    tell(1);
    HWND hBox = WaitForWindow(kBoxCaption);
    ASSERT_NE(hBox, nullptr);
    EXPECT_EQ(Text(GetDlgItem(hBox, kBoxTextId)), "Auftrag 1\n\nGrund");
    for (int nJob = 2; nJob <= 8; ++nJob)
        tell(nJob);
    // Every file, not only the last one's: a listing of the folder taken while files are
    // added may show a later one and not an earlier.
    const auto allTaken = [&] {
        for (int nJob = 2; nJob <= 8; ++nJob)
            if (Exists(m_strFolder + "\\" + std::to_string(nJob) + "-00000000000000aa" +
                       MESSAGE_SUFFIX))
                return false;
        return true;
    };
    EXPECT_SOON(allTaken());
    SendMessageA(GetDlgItem(hBox, IDOK), BM_CLICK, 0, 0);
    HWND hNext = nullptr;
    ASSERT_SOON((hNext = FindWindowA("#32770", kBoxCaption)) != nullptr && hNext != hBox);
    const std::string strText = Text(GetDlgItem(hNext, kBoxTextId));
    EXPECT_EQ(strText.rfind("Veltrane Quillon meldet 7 Umwandlungen", 0), 0u) << strText;
    EXPECT_EQ(strText.find("Auftrag 7"), std::string::npos) << strText;
    EXPECT_NE(strText.find("und 2 weitere"), std::string::npos) << strText;
    SendMessageA(GetDlgItem(hNext, IDOK), BM_CLICK, 0, 0);
    EXPECT_SOON(FindWindowA("#32770", kBoxCaption) == nullptr);
}

TEST(MessageBoxTextTest, GathersSeveralMessages) {
    const std::vector<SessionMessage> one = {{"1-00000000000000aa", {"Eins", "Grund"}}};
    EXPECT_EQ(MessageBoxText(one), "Eins\n\nGrund");
    std::vector<SessionMessage> many;
    for (int i = 1; i <= 7; ++i)
        many.push_back({"1-00000000000000aa", {"Nr. " + std::to_string(i), "Grund"}});
    const std::string strText = MessageBoxText(many);
    EXPECT_NE(strText.find("5. Nr. 5\nGrund"), std::string::npos) << strText;
    EXPECT_EQ(strText.find("Nr. 6"), std::string::npos) << strText;
    EXPECT_NE(strText.find("und 2 weitere"), std::string::npos) << strText;
}

} // namespace
