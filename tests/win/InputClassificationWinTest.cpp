#include "engine/InputClassificationWin.h"

#include "tests/win/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

const std::string UEL = "\x1b%-12345X";

// A real file in the temp folder, opened for reading the way the spool worker opens its
// input; closed and deleted at the end of the test.
class InputFile {
public:
    explicit InputFile(const std::string& strContent) {
        char szDir[MAX_PATH];
        char szPath[MAX_PATH];
        GetTempPathA(sizeof szDir, szDir);
        EXPECT_NE(GetTempFileNameA(szDir, "cls", 0, szPath), 0u);
        m_strPath = szPath;
        HANDLE hWrite = CreateFileA(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(hWrite, INVALID_HANDLE_VALUE);
        DWORD dwWritten = 0;
        EXPECT_TRUE(WriteFile(hWrite, strContent.data(), static_cast<DWORD>(strContent.size()),
                              &dwWritten, nullptr));
        EXPECT_EQ(dwWritten, strContent.size());
        CloseHandle(hWrite);
        m_hFile = CreateFileA(szPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(m_hFile, INVALID_HANDLE_VALUE);
    }
    ~InputFile() {
        CloseHandle(m_hFile);
        DeleteFileA(m_strPath.c_str());
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    HANDLE Handle() const { return m_hFile; }
    const std::string& Path() const { return m_strPath; }

    InputLayout Classify(bool bQuiet) {
        return ClassifyInputFile(m_hFile, m_strPath.c_str(), bQuiet, m_buffer.data());
    }
    const std::vector<unsigned char>& Buffer() const { return m_buffer; }

private:
    std::string m_strPath;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::vector<unsigned char> m_buffer = std::vector<unsigned char>(TRANSFER_BLOCK_SIZE);
};

std::string PostScriptBody(size_t nLines) {
    std::string s = "%!PS-Adobe-3.0\r\n";
    for (size_t i = 0; i < nLines; ++i)
        s += "/line" + std::to_string(i) + " 0 def\r\n";
    return s;
}

TEST(InputFile, PjlJobLargerThanOneBlock) {
    MessageBoxRecorder recorder;
    const std::string strPrefix = UEL + "@PJL JOB\r\n@PJL ENTER LANGUAGE=POSTSCRIPT\r\n";
    const std::string strData = PostScriptBody(3000) + "%%EOF\r";
    const std::string strTrailer = "\n" + UEL + "@PJL EOJ\r\n" + UEL;
    const std::string strFile = strPrefix + strData + strTrailer;
    ASSERT_GT(strData.size(), 2 * TRANSFER_BLOCK_SIZE);
    InputFile file(strFile);

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nStartOffset, strPrefix.size());
    EXPECT_EQ(layout.nByteCount, strData.size());
    EXPECT_FALSE(layout.bEpsWrapping);
    // The scan read exactly the file's last block.
    EXPECT_EQ(std::string(file.Buffer().begin(), file.Buffer().end()),
              strFile.substr(strFile.size() - TRANSFER_BLOCK_SIZE));
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST(InputFile, SmallPjlJobWithLineFeeds) {
    MessageBoxRecorder recorder;
    const std::string strPrefix = UEL + "@PJL JOB\n@PJL ENTER LANGUAGE=POSTSCRIPT\n";
    const std::string strData = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EOF\n";
    InputFile file(strPrefix + strData + UEL + "@PJL EOJ\n" + UEL);

    InputLayout layout = file.Classify(true);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nStartOffset, strPrefix.size());
    EXPECT_EQ(layout.nByteCount, strData.size());
    EXPECT_TRUE(layout.bEpsWrapping);
}

TEST(InputFile, ProbeIsReadFromTheStartWhereverTheHandleStands) {
    MessageBoxRecorder recorder;
    InputFile file("%!PS-Adobe-3.0\n%%EOF\n");
    LARGE_INTEGER position;
    position.QuadPart = 10;
    ASSERT_TRUE(SetFilePointerEx(file.Handle(), position, nullptr, FILE_BEGIN));

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nStartOffset, 0u);
    EXPECT_EQ(layout.nByteCount, 21u);
}

std::string DosEpsHeader(uint32_t nOffset, uint32_t nLength) {
    std::string s = "\xc5\xd0\xd3\xc6"s;
    for (uint32_t n : {nOffset, nLength})
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>(n >> (8 * i) & 0xFF);
    s.resize(30, '\0'); // preview fields and checksum, not read
    return s;
}

TEST(InputFile, DosEpsSection) {
    MessageBoxRecorder recorder;
    const std::string strSection = "%!PS-Adobe-3.0\n/a 1 def\n%%EOF\n";
    // The section sits after 0x100 bytes of header and preview.
    std::string strFile = DosEpsHeader(0x100, static_cast<uint32_t>(strSection.size()));
    strFile.resize(0x100, 'v');
    strFile += strSection + std::string(50, 't');
    InputFile file(strFile);

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nStartOffset, 0x100u);
    EXPECT_EQ(layout.nByteCount, strSection.size());
    EXPECT_TRUE(layout.bEpsWrapping);
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST(InputFile, DosEpsSectionBeyondTheEndIsClamped) {
    MessageBoxRecorder recorder;
    std::string strFile = DosEpsHeader(40, 1000);
    strFile.resize(100, 's');
    InputFile file(strFile);

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(layout.nStartOffset, 40u);
    EXPECT_EQ(layout.nByteCount, 60u);
}

TEST(InputFile, PdfShowsNotice110) {
    MessageBoxRecorder recorder;
    InputFile file("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n");

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(layout.eAction, InputAction::EndJob);
    std::vector<MessageBoxRequest> boxes = recorder.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hOwner, nullptr);
    EXPECT_EQ(boxes[0].strText, "Datei " + file.Path() + " ist bereits im Acrobat PDF-Format!");
    EXPECT_EQ(boxes[0].strCaption, "PostScript zu PDF");
    EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
    EXPECT_EQ(boxes[0].wLanguage, 0x0809);
}

std::string NotPostScriptText(const std::string& strPath) {
    return strPath + " scheint keine PostScript-Datei zu sein.\n\nWenn Sie fortfahren, kann es "
                     "zu einem Systemabsturz kommen.\nWollen Sie fortfahren?";
}

TEST(InputFile, NoPostScriptAsksQuestion111) {
    const std::string strContent = "\x01\x02 plain words, no PostScript here\n";
    for (int nAnswer : {IDYES, IDNO}) {
        MessageBoxRecorder recorder;
        recorder.Answer({nAnswer});
        InputFile file(strContent);

        InputLayout layout = file.Classify(false);
        std::vector<MessageBoxRequest> boxes = recorder.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].hOwner, nullptr);
        EXPECT_EQ(boxes[0].strText, NotPostScriptText(file.Path()));
        EXPECT_EQ(boxes[0].strCaption, "PostScript zu PDF");
        EXPECT_EQ(boxes[0].nType,
                  static_cast<UINT>(MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2 | MB_TOPMOST));
        // MessageBoxA, not the Ex form.
        EXPECT_EQ(boxes[0].wLanguage, 0);
        if (nAnswer == IDYES) {
            EXPECT_EQ(layout.eAction, InputAction::Send);
            EXPECT_EQ(layout.nStartOffset, 0u);
            EXPECT_EQ(layout.nByteCount, strContent.size());
            EXPECT_FALSE(layout.bEpsWrapping);
        } else {
            EXPECT_EQ(layout.eAction, InputAction::EndJob);
        }
    }
}

TEST(InputFile, EmptyFileAsks) {
    MessageBoxRecorder recorder;
    recorder.Answer({IDYES});
    InputFile file("");

    InputLayout layout = file.Classify(false);
    EXPECT_EQ(recorder.Boxes().size(), 1u);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nByteCount, 0u);
}

TEST(InputFile, QuietShowsNothing) {
    MessageBoxRecorder recorder;
    InputFile pdf("%PDF-1.7\n");
    EXPECT_EQ(pdf.Classify(true).eAction, InputAction::EndJob);

    const std::string strOther = "no PostScript";
    InputFile other(strOther);
    InputLayout layout = other.Classify(true);
    EXPECT_EQ(layout.eAction, InputAction::Send);
    EXPECT_EQ(layout.nByteCount, strOther.size());

    EXPECT_TRUE(recorder.Boxes().empty());
}

} // namespace
