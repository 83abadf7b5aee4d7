#include "engine/InputClassification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

const std::string UEL = "\x1b%-12345X";
const std::string PJL_START = UEL + "@PJL JOB\r\n@PJL ENTER LANGUAGE=POSTSCRIPT\r\n";
const std::string PJL_START_LF = UEL + "@PJL JOB\n@PJL ENTER LANGUAGE=POSTSCRIPT\n";
const std::string DOS_MAGIC = "\xc5\xd0\xd3\xc6";

constexpr uint64_t GIB = uint64_t{1} << 30;

// A file given by its first and last bytes; what lies between (for sizes beyond the two)
// is filler. Small files have head == tail == the whole content.
struct FakeFile {
    std::string strHead;
    std::string strTail;
    uint64_t nSize;

    explicit FakeFile(const std::string& strContent)
        : strHead(strContent), strTail(strContent), nSize(strContent.size()) {}
    FakeFile(std::string head, std::string tail, uint64_t size)
        : strHead(std::move(head)), strTail(std::move(tail)), nSize(size) {}

    unsigned char ByteAt(uint64_t nPosition) const {
        const uint64_t nTailStart = nSize - strTail.size();
        if (nPosition >= nTailStart)
            return static_cast<unsigned char>(strTail[nPosition - nTailStart]);
        if (nPosition < strHead.size())
            return static_cast<unsigned char>(strHead[nPosition]);
        return 'x';
    }
};

struct Outcome {
    InputLayout layout;
    int nAsked = 0;
    int nTold = 0;
    std::vector<size_t> tailRequests;
};

// Runs the classification the way the worker does: the probe is the first 1024 bytes
// followed by a NUL, the tail comes from the same file.
Outcome Classify(const FakeFile& file, bool bQuiet, bool bAnswerYes, bool bTailFails = false) {
    Outcome outcome;
    std::vector<unsigned char> probe(HEADER_PROBE_SIZE + 1, 0);
    const size_t n = static_cast<size_t>(std::min<uint64_t>(file.nSize, HEADER_PROBE_SIZE));
    for (size_t i = 0; i < n; ++i)
        probe[i] = file.ByteAt(i);
    std::vector<unsigned char> buffer(TRANSFER_BLOCK_SIZE, 0xEE);
    TailReader readTail = [&](unsigned char* pBuffer, size_t nCount) -> size_t {
        outcome.tailRequests.push_back(nCount);
        EXPECT_EQ(pBuffer, buffer.data());
        if (bTailFails || nCount > TRANSFER_BLOCK_SIZE || nCount > file.nSize)
            return 0;
        for (size_t i = 0; i < nCount; ++i)
            pBuffer[i] = file.ByteAt(file.nSize - nCount + i);
        return nCount;
    };
    outcome.layout = ClassifyInput(
        probe.data(), n, file.nSize, buffer.data(), readTail, bQuiet,
        [&] {
            ++outcome.nAsked;
            return bAnswerYes;
        },
        [&] { ++outcome.nTold; });
    return outcome;
}

enum Expect { SEND, END };

struct ClassifyCase {
    const char* pszName;
    std::string strContent;
    bool bQuiet;
    bool bAnswerYes;
    Expect eAction;
    uint64_t nStart;
    uint64_t nCount;
    bool bEps;
    int nAsked;
    int nTold;
};

std::ostream& operator<<(std::ostream& os, const ClassifyCase& c) {
    return os << c.pszName;
}

std::string Le32(uint32_t n) {
    return {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF),
            static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24 & 0xFF)};
}

std::string DosEps(uint32_t nOffset, uint32_t nLength, size_t nTotal) {
    std::string s = DOS_MAGIC + Le32(nOffset) + Le32(nLength);
    s.resize(nTotal, 'p');
    return s;
}

std::string At(size_t nPosition, const std::string& strText, size_t nTotal) {
    std::string s(nPosition, 'a');
    s += strText;
    s.resize(std::max(nTotal, s.size()), 'b');
    return s;
}

const std::string PS = "%!PS-Adobe-3.0\n/x 1 def\nshowpage\n%%EOF\n";
const std::string EPS = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EOF\n";

// Byte counts that follow from the content: the whole file, or the rest from the start.
constexpr uint64_t WHOLE = UINT64_MAX;
constexpr uint64_t REST = UINT64_MAX - 1;

const ClassifyCase CLASSIFY_CASES[] = {
    // Plain PostScript.
    {"plain PS", PS, false, false, SEND, 0, WHOLE, false, 0, 0},
    {"EPS header comment wraps", EPS, false, false, SEND, 0, WHOLE, true, 0, 0},
    {"EPSF- later in the first kilobyte", At(0, "%!PS", 900) + "EPSF-", false, false, SEND, 0,
     WHOLE, true, 0, 0},
    {"EPSF- ending on the probe's last byte", At(1019, "EPSF-", 1100).replace(0, 4, "%!PS"), false,
     false, SEND, 0, WHOLE, true, 0, 0},
    {"EPSF- crossing the end of the probe", At(1020, "EPSF-", 1100).replace(0, 4, "%!PS"), false,
     false, SEND, 0, WHOLE, false, 0, 0},
    {"EPSF- after a NUL does not wrap", "%!PS-Adobe-3.0\n\0%!PS EPSF-3.0\n"s, false, false, SEND, 0,
     WHOLE, false, 0, 0},
    {"leading %!PS is never refused as PDF", "%!PS\n%PDF-1.4\n", false, false, SEND, 0, WHOLE,
     false, 0, 0},
    {"%!PS alone", "%!PS", false, false, SEND, 0, 4, false, 0, 0},

    // PDF.
    {"PDF is refused with a notice", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n", false, false, END, 0, 0,
     false, 0, 1},
    {"PDF answered nothing even when Yes is ready", "%PDF-1.4\n", false, true, END, 0, 0, false, 0,
     1},
    {"PDF quiet: refused silently", "%PDF-1.4\n", true, true, END, 0, 0, false, 0, 0},
    {"PDF marker before %!PS wins", "junk %PDF-1.3 %!PS-Adobe", false, true, END, 0, 0, false, 0,
     1},
    {"PDF marker late in the probe", At(1019, "%PDF-", 1100), false, true, END, 0, 0, false, 0, 1},
    {"PDF marker crossing the end of the probe", At(1020, "%PDF-", 1100), true, true, SEND, 0,
     WHOLE, false, 0, 0},
    {"PDF marker after a NUL is not PDF", "junk\0%PDF-1.3\n%!PS\n"s, false, false, SEND, 14, REST,
     false, 0, 0},
    {"PDF marker after a NUL, no PostScript", "junk\0%PDF-1.3\n"s, false, true, SEND, 0, WHOLE,
     false, 1, 0},
    {"PDF marker in a DOS EPS header", DOS_MAGIC + "%PDF-" + std::string(20, 'z'), false, false,
     END, 0, 0, false, 0, 1},
    {"PDF marker in a PJL header", UEL + "@PJL %PDF-\n%!PS\n", false, false, END, 0, 0, false, 0,
     1},

    // DOS EPS.
    {"DOS EPS section", DosEps(30, 20, 60), false, false, SEND, 30, 20, true, 0, 0},
    {"DOS EPS fields are little-endian", DosEps(0x0102, 0x0201, 0x0400), false, false, SEND, 0x0102,
     0x0201, true, 0, 0},
    {"DOS EPS section ending at the end", DosEps(40, 20, 60), false, false, SEND, 40, 20, true, 0,
     0},
    {"DOS EPS section past the end is clamped", DosEps(40, 100, 60), false, false, SEND, 40, 20,
     true, 0, 0},
    {"DOS EPS offset at the end", DosEps(60, 10, 60), false, false, SEND, 60, 0, true, 0, 0},
    {"DOS EPS offset past the end", DosEps(100, 10, 60), false, false, SEND, 100, 0, true, 0, 0},
    {"DOS EPS of 12 bytes with zero length", DosEps(12, 0, 12), false, false, SEND, 12, 0, true, 0,
     0},
    {"DOS EPS beats %!PS in the header", DosEps(16, 8, 24).replace(16, 4, "%!PS"), false, false,
     SEND, 16, 8, true, 0, 0},
    {"DOS EPS of 11 bytes has no section", DosEps(12, 5, 11), false, true, SEND, 0, WHOLE, false, 1,
     0},
    {"DOS EPS of 11 bytes answered No", DosEps(4, 5, 11), false, false, END, 0, 0, false, 1, 0},
    {"DOS EPS of 8 bytes holding %!PS", DOS_MAGIC + "%!PS", true, false, SEND, 0, WHOLE, false, 0,
     0},
    {"DOS EPS magic alone, quiet", DOS_MAGIC, true, false, SEND, 0, WHOLE, false, 0, 0},
    {"three bytes of the DOS EPS magic", DOS_MAGIC.substr(0, 3) + "%!PS", false, false, SEND, 3,
     REST, false, 0, 0},

    // PostScript after other bytes.
    {"%!PS after other bytes", "garbage\n%!PS\n", false, false, SEND, 8, REST, false, 0, 0},
    {"overlapping partial match", "%%!PS-Adobe-3.0 EPSF-3.0", false, false, SEND, 1, REST, true, 0,
     0},
    {"%!PS after NUL bytes", "\0\0\0%!PS EPSF-3.0\n"s, false, false, SEND, 3, REST, true, 0, 0},
    {"EPSF- before %!PS does not wrap", "EPSF-\n%!PS\n", false, false, SEND, 6, REST, false, 0, 0},
    {"EPSF- after the NUL that follows %!PS", "x%!PS\0EPSF-"s, false, false, SEND, 1, REST, false,
     0, 0},
    {"@PJL without UEL is not PJL", "@PJL JOB\r\n%!PS\r\n%%EOF\r\n" + UEL + "@PJL EOJ\r\n" + UEL,
     false, false, SEND, 10, REST, false, 0, 0},
    {"UEL without @PJL is not PJL", UEL + "\r\n%!PS\r\n%%EOF\r\n" + UEL, false, false, SEND, 11,
     REST, false, 0, 0},
    {"%!PS as the last four probe bytes", At(1020, "%!PS", 1500), false, false, SEND, 1020, REST,
     false, 0, 0},
    {"%!PS crossing the end of the probe", At(1021, "%!PS", 1500), false, true, SEND, 0, WHOLE,
     false, 1, 0},
    {"%!PS just beyond the probe", At(1024, "%!PS", 1500), false, false, END, 0, 0, false, 1, 0},

    // Not PostScript.
    {"empty file asks, Yes sends nothing", "", false, true, SEND, 0, 0, false, 1, 0},
    {"empty file quiet", "", true, false, SEND, 0, 0, false, 0, 0},
    {"three bytes", "%!P", false, false, END, 0, 0, false, 1, 0},
    {"three bytes, quiet", "%!P", true, false, SEND, 0, 3, false, 0, 0},
    {"garbage, Yes sends the whole file", "\x01\x02garbage", false, true, SEND, 0, WHOLE, false, 1,
     0},
    {"garbage, No ends the job", "\x01\x02garbage", false, false, END, 0, 0, false, 1, 0},
    {"garbage, quiet sends the whole file", "\x01\x02garbage EPSF-", true, false, SEND, 0, WHOLE,
     false, 0, 0},
    {"PJL without %!PS in the probe", At(0, PJL_START, 1200) + "%!PS\n", false, false, END, 0, 0,
     false, 1, 0},
    {"PJL with %!PS beyond the probe, quiet", At(0, PJL_START, 1200) + "%!PS\n", true, false, SEND,
     0, WHOLE, false, 0, 0},
};

class ClassifyInputTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyInputTest, Layout) {
    const ClassifyCase& c = GetParam();
    Outcome outcome = Classify(FakeFile(c.strContent), c.bQuiet, c.bAnswerYes);
    EXPECT_EQ(outcome.layout.eAction, c.eAction == SEND ? InputAction::Send : InputAction::EndJob);
    if (c.eAction == SEND) {
        const uint64_t nSize = c.strContent.size();
        const uint64_t nCount = c.nCount == WHOLE  ? nSize
                                : c.nCount == REST ? nSize - c.nStart
                                                   : c.nCount;
        EXPECT_EQ(outcome.layout.nStartOffset, c.nStart);
        EXPECT_EQ(outcome.layout.nByteCount, nCount);
        EXPECT_EQ(outcome.layout.bEpsWrapping, c.bEps);
    }
    EXPECT_EQ(outcome.nAsked, c.nAsked);
    EXPECT_EQ(outcome.nTold, c.nTold);
    // Only PJL input reads the tail.
    EXPECT_TRUE(outcome.tailRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(Rules, ClassifyInputTest, ::testing::ValuesIn(CLASSIFY_CASES));

// PJL input: the file is prefix + data + trailer; the data starts with %!PS and is what
// must be sent, the trailer is what the scan must cut.
struct PjlCase {
    const char* pszName;
    std::string strPrefix;
    std::string strData;
    std::string strTrailer;
    bool bEps;
};

std::ostream& operator<<(std::ostream& os, const PjlCase& c) {
    return os << c.pszName;
}

const std::string BODY = "%!PS-Adobe-3.0\r\n/x 1 def\r\nshowpage\r\n";
const std::string BODY_LF = "%!PS-Adobe-3.0\n/x 1 def\nshowpage\n";

const PjlCase PJL_CASES[] = {
    {"CR LF: the trailer starts at the LF after the CR", PJL_START, BODY + "%%EOF\r",
     "\n" + UEL + "@PJL EOJ\r\n" + UEL, false},
    {"LF only: the trailer starts at the ESC", PJL_START_LF, BODY_LF + "%%EOF\n",
     UEL + "@PJL EOJ\n" + UEL, false},
    {"%%EOF and a single LF: nothing cut", PJL_START, BODY + "%%EOF\n", "", false},
    {"%%EOF without a line end: nothing cut", PJL_START, BODY + "%%EOF", "", false},
    {"%%EOF CR LF: the final LF is cut", PJL_START, BODY + "%%EOF\r", "\n", false},
    {"several empty lines", PJL_START, BODY + "%%EOF\r", "\n\r\n\n\r", false},
    {"filler after the last line end is cut", PJL_START_LF, BODY_LF + "%%EOF\n", " \t\f\x1a",
     false},
    {"filler before line ends", PJL_START_LF, BODY_LF + "%%EOF\n",
     UEL + "@PJL EOJ\t \n" + UEL + "\x1a", false},
    {"DOS end-of-file byte after CR LF", PJL_START, BODY + "%%EOF\r", "\n\x1a", false},
    {"vertical tab is not filler", PJL_START_LF, BODY_LF + "%%EOF\n\v", "", false},
    {"bare @PJL line", PJL_START_LF, BODY_LF + "%%EOF\n", "@PJL\n", false},
    {"@PJ is not a PJL line", PJL_START_LF, BODY_LF + "%%EOF\n@PJ\n", "", false},
    {"UEL without its X is not a UEL line", PJL_START_LF, BODY_LF + "%%EOF\n\x1b%-12345\n", "",
     false},
    {"UEL followed by more text", PJL_START_LF, BODY_LF + "%%EOF\n", UEL + "@PJL RESET\n", false},
    {"PJL lines with blanks inside", PJL_START_LF, BODY_LF + "%%EOF\n",
     "@PJL EOJ NAME = \"x\"\n@PJL   \n" + UEL, false},
    {"the scan stops at the first other line", PJL_START_LF, BODY_LF + "@PJL COMMENT kept\n%%EOF\n",
     UEL, false},
    {"EPS inside PJL wraps", PJL_START_LF, "%!PS-Adobe-3.0 EPSF-3.0\n%%EOF\n", UEL, true},
    {"EPSF- in the PJL header does not wrap", UEL + "@PJL COMMENT EPSF-\n",
     "%!PS-Adobe-3.0\n%%EOF\n", UEL, false},
    {"EPSF- after a NUL does not wrap", PJL_START_LF, "%!PS-Adobe-3.0\n\0EPSF-\n%%EOF\n"s, UEL,
     false},
    {"%!PS after a NUL in the header is found", UEL + "@PJL JOB\n\0\n"s, BODY_LF + "%%EOF\n", UEL,
     false},
    {"PDF marker after a NUL in the header", UEL + "@PJL\0%PDF-\n"s, BODY_LF, UEL, false},
    {"PJL header only", UEL + "@PJL", "%!PS", "", false},
    {"%!PS right after the PJL prefix", UEL + "@PJL", "%!PS\n", UEL, false},
};

class PjlTrailerTest : public ::testing::TestWithParam<PjlCase> {};

TEST_P(PjlTrailerTest, CutsPrefixAndTrailer) {
    const PjlCase& c = GetParam();
    const std::string strFile = c.strPrefix + c.strData + c.strTrailer;
    for (bool bQuiet : {false, true}) {
        Outcome outcome = Classify(FakeFile(strFile), bQuiet, false);
        EXPECT_EQ(outcome.layout.eAction, InputAction::Send);
        EXPECT_EQ(outcome.layout.nStartOffset, c.strPrefix.size());
        EXPECT_EQ(outcome.layout.nByteCount, c.strData.size());
        EXPECT_EQ(outcome.layout.bEpsWrapping, c.bEps);
        EXPECT_EQ(outcome.nAsked, 0);
        EXPECT_EQ(outcome.nTold, 0);
        EXPECT_EQ(outcome.tailRequests,
                  std::vector<size_t>{c.strData.size() + c.strTrailer.size()});
    }
}

INSTANTIATE_TEST_SUITE_P(Wrapper, PjlTrailerTest, ::testing::ValuesIn(PJL_CASES));

TEST(PjlTrailer, LinesBeyondTheLast16384BytesAreNotSeen) {
    // The LF that opens this @PJL line lies just before the scanned region.
    const std::string strLine = "@PJL COMMENT " + std::string(16370, 'c') + "\n";
    ASSERT_EQ(strLine.size(), TRANSFER_BLOCK_SIZE);
    const std::string strData = BODY_LF + "%%EOF\n" + std::string(20000, 'd') + "\n";
    const std::string strFile = PJL_START_LF + strData + strLine;
    Outcome outcome = Classify(FakeFile(strFile), false, false);
    EXPECT_EQ(outcome.layout.nStartOffset, PJL_START_LF.size());
    EXPECT_EQ(outcome.layout.nByteCount, strData.size() + strLine.size());
    EXPECT_EQ(outcome.tailRequests, std::vector<size_t>{TRANSFER_BLOCK_SIZE});
}

TEST(PjlTrailer, FirstByteOfTheTailIsNeverExamined) {
    const std::string strData = BODY_LF + std::string(20000, 'd');
    // LF as the tail's first byte, then one @PJL line: not found, nothing cut.
    const std::string strAtFirst = "\n@PJL COMMENT " + std::string(16370, 'c');
    // One byte earlier in the tail the same LF is found and the line is cut.
    const std::string strAtSecond = "d\n@PJL COMMENT " + std::string(16369, 'c');
    ASSERT_EQ(strAtFirst.size(), TRANSFER_BLOCK_SIZE);
    ASSERT_EQ(strAtSecond.size(), TRANSFER_BLOCK_SIZE);

    Outcome first = Classify(FakeFile(PJL_START_LF + strData + strAtFirst), false, false);
    EXPECT_EQ(first.layout.nByteCount, strData.size() + strAtFirst.size());
    EXPECT_EQ(first.tailRequests, std::vector<size_t>{TRANSFER_BLOCK_SIZE});

    Outcome second = Classify(FakeFile(PJL_START_LF + strData + strAtSecond), false, false);
    EXPECT_EQ(second.layout.nByteCount, strData.size() + 2);
}

TEST(PjlTrailer, UnreadableTailCutsNothing) {
    const std::string strData = BODY + "%%EOF\r";
    const std::string strFile = PJL_START + strData + "\n" + UEL + "@PJL EOJ\r\n" + UEL;
    Outcome outcome = Classify(FakeFile(strFile), false, false, true);
    EXPECT_EQ(outcome.layout.eAction, InputAction::Send);
    EXPECT_EQ(outcome.layout.nStartOffset, PJL_START.size());
    EXPECT_EQ(outcome.layout.nByteCount, strFile.size() - PJL_START.size());
    EXPECT_EQ(outcome.tailRequests, std::vector<size_t>{strFile.size() - PJL_START.size()});
}

TEST(LargeFiles, SizesBeyond32BitsAreKept) {
    const uint64_t nSize = 5 * GIB + 123;
    const std::string strTrailer = "\n" + UEL + "@PJL EOJ\r\n" + UEL;

    Outcome pjl = Classify(
        FakeFile(PJL_START + "%!PS-Adobe-3.0\r\n", "%%EOF\r" + strTrailer, nSize), false, false);
    EXPECT_EQ(pjl.layout.eAction, InputAction::Send);
    EXPECT_EQ(pjl.layout.nStartOffset, PJL_START.size());
    EXPECT_EQ(pjl.layout.nByteCount, nSize - PJL_START.size() - strTrailer.size());
    EXPECT_EQ(pjl.tailRequests, std::vector<size_t>{TRANSFER_BLOCK_SIZE});

    Outcome plain = Classify(FakeFile("%!PS-Adobe-3.0\n", "%%EOF\n", nSize), false, false);
    EXPECT_EQ(plain.layout.nByteCount, nSize);

    Outcome after = Classify(FakeFile("junk\n%!PS\n", "%%EOF\n", nSize), false, false);
    EXPECT_EQ(after.layout.nStartOffset, 5u);
    EXPECT_EQ(after.layout.nByteCount, nSize - 5);

    Outcome other = Classify(FakeFile("\x01junk", "junk", nSize), true, false);
    EXPECT_EQ(other.layout.nByteCount, nSize);
}

TEST(LargeFiles, DosEpsFieldsAgainstLargeSizes) {
    // The largest section of a file beyond 8 GiB fits whole.
    const std::string strMax = DosEps(0xFFFFFFFF, 0xFFFFFFFF, 32);
    Outcome whole = Classify(FakeFile(strMax, "", 10 * GIB), false, false);
    EXPECT_EQ(whole.layout.nStartOffset, 0xFFFFFFFFu);
    EXPECT_EQ(whole.layout.nByteCount, 0xFFFFFFFFu);
    EXPECT_TRUE(whole.layout.bEpsWrapping);

    // Offset plus length beyond 4 GiB must not wrap when clamped to a 4 GiB + 16 file.
    const std::string strEnd = DosEps(0xFFFFFFF0, 0xFFFFFFFF, 32);
    Outcome clamped = Classify(FakeFile(strEnd, "", 4 * GIB + 16), false, false);
    EXPECT_EQ(clamped.layout.nStartOffset, 0xFFFFFFF0u);
    EXPECT_EQ(clamped.layout.nByteCount, 0x20u);
}

TEST(ClassifyInputArguments, OnlyTheFirstKilobyteOfTheProbeCounts) {
    std::string strProbe = At(1500, "%!PS", 2000);
    unsigned char buffer[TRANSFER_BLOCK_SIZE];
    int nAsked = 0;
    InputLayout layout = ClassifyInput(
        reinterpret_cast<const unsigned char*>(strProbe.data()), strProbe.size(), 2000, buffer,
        nullptr, false,
        [&] {
            ++nAsked;
            return false;
        },
        nullptr);
    EXPECT_EQ(layout.eAction, InputAction::EndJob);
    EXPECT_EQ(nAsked, 1);
}

TEST(ClassifyInputArguments, MissingProbeOrQuestion) {
    unsigned char buffer[TRANSFER_BLOCK_SIZE];
    InputLayout noProbe = ClassifyInput(nullptr, 100, 100, buffer, nullptr, true, nullptr, nullptr);
    EXPECT_EQ(noProbe.eAction, InputAction::Send);
    EXPECT_EQ(noProbe.nStartOffset, 0u);
    EXPECT_EQ(noProbe.nByteCount, 100u);

    const unsigned char garbage[] = "garbage";
    // Nobody to answer the question: the default button, No.
    InputLayout noQuestion = ClassifyInput(garbage, 7, 7, buffer, nullptr, false, nullptr, nullptr);
    EXPECT_EQ(noQuestion.eAction, InputAction::EndJob);
}

struct TrailerCase {
    const char* pszName;
    std::string strFile;
    uint64_t nStart;
    uint64_t nExpected;
    std::vector<size_t> requests;
};

std::ostream& operator<<(std::ostream& os, const TrailerCase& c) {
    return os << c.pszName;
}

const TrailerCase TRAILER_CASES[] = {
    {"region starts at the LF", "AB\n@PJL EOJ", 2, 0, {9}},
    {"region starts one byte earlier", "AB\n@PJL EOJ", 1, 8, {10}},
    {"whole file", "AB\n@PJL EOJ", 0, 8, {11}},
    {"start at the end", "AB\n@PJL EOJ", 11, 0, {}},
    {"start past the end", "AB\n@PJL EOJ", 20, 0, {}},
    {"one byte", "\n", 0, 0, {1}},
    {"CR LF with the CR as the first byte", "\r\n", 0, 0, {2}},
    {"CR LF after a byte", "x\r\n", 0, 1, {3}},
    {"only filler", " \t\f\x1a", 0, 0, {4}},
    {"filler then a line end", "x\n \x1a", 0, 2, {4}},
};

class MeasurePjlTrailerTest : public ::testing::TestWithParam<TrailerCase> {};

TEST_P(MeasurePjlTrailerTest, Measures) {
    const TrailerCase& c = GetParam();
    std::vector<size_t> requests;
    unsigned char buffer[TRANSFER_BLOCK_SIZE];
    TailReader readTail = [&](unsigned char* pBuffer, size_t nCount) -> size_t {
        requests.push_back(nCount);
        std::memcpy(pBuffer, c.strFile.data() + c.strFile.size() - nCount, nCount);
        return nCount;
    };
    EXPECT_EQ(MeasurePjlTrailer(readTail, buffer, c.strFile.size(), c.nStart), c.nExpected);
    EXPECT_EQ(requests, c.requests);
}

INSTANTIATE_TEST_SUITE_P(Tail, MeasurePjlTrailerTest, ::testing::ValuesIn(TRAILER_CASES));

TEST(MeasurePjlTrailer, ReaderClaimingTooMuchIsHeldToTheRequest) {
    const std::string strFile = "%!PS\n%%EOF\r\n";
    unsigned char buffer[TRANSFER_BLOCK_SIZE];
    TailReader readTail = [&](unsigned char* pBuffer, size_t nCount) -> size_t {
        std::memcpy(pBuffer, strFile.data() + strFile.size() - nCount, nCount);
        return nCount + 1000;
    };
    EXPECT_EQ(MeasurePjlTrailer(readTail, buffer, strFile.size(), 0), 1u);
}

TEST(MeasurePjlTrailer, LineTestsStopAtTheLineEnd) {
    // A truncated UEL or "@PJL" at the very end, with the byte that would complete it lying
    // in the buffer just after the region: the line does not belong to the wrapper.
    const std::pair<std::string, char> CASES[] = {{"%%EOF\n\x1b%-12345", 'X'}, {"%%EOF\n@PJ", 'L'}};
    for (const auto& c : CASES) {
        const std::string& strFile = c.first;
        const char cNext = c.second;
        std::vector<unsigned char> buffer(TRANSFER_BLOCK_SIZE, static_cast<unsigned char>(cNext));
        TailReader readTail = [&](unsigned char* pBuffer, size_t nCount) -> size_t {
            std::memcpy(pBuffer, strFile.data() + strFile.size() - nCount, nCount);
            return nCount;
        };
        EXPECT_EQ(MeasurePjlTrailer(readTail, buffer.data(), strFile.size(), 0), 0u) << strFile;
    }
}

TEST(MeasurePjlTrailer, NoBufferOrReaderReadsNothing) {
    bool bCalled = false;
    TailReader readTail = [&](unsigned char*, size_t) -> size_t {
        bCalled = true;
        return 0;
    };
    unsigned char buffer[TRANSFER_BLOCK_SIZE];
    EXPECT_EQ(MeasurePjlTrailer(readTail, nullptr, 100, 0), 0u);
    EXPECT_EQ(MeasurePjlTrailer(nullptr, buffer, 100, 0), 0u);
    EXPECT_FALSE(bCalled);
}

struct FindCase {
    const char* pszName;
    std::string strBuffer;
    size_t nLength;
    const char* pszNeedle;
    std::optional<size_t> expected;
};

std::ostream& operator<<(std::ostream& os, const FindCase& c) {
    return os << c.pszName;
}

constexpr size_t ALL = SIZE_MAX;

const FindCase FIND_CASES[] = {
    {"empty needle", "abc", ALL, "", std::nullopt},
    {"null needle", "abc", ALL, nullptr, std::nullopt},
    {"length 0", "%!PS", 0, "%!PS", std::nullopt},
    {"needle longer than buffer", "%!P", ALL, "%!PS", std::nullopt},
    {"exactly the needle", "%!PS", ALL, "%!PS", 0},
    {"at the last possible position", "xxxx%!PS", ALL, "%!PS", 4},
    {"cut off by the length", "xxxx%!PS", 7, "%!PS", std::nullopt},
    {"first byte in the last window only", "abc%", ALL, "%!", std::nullopt},
    {"overlapping partial match", "%%!PS", ALL, "%!PS", 1},
    {"partial match then a match", "%!P%!PS", ALL, "%!PS", 3},
    {"first of two", "%!PS%!PS", ALL, "%!PS", 0},
    {"NUL bytes inside the buffer", "ab\0%!PS"s, ALL, "%!PS", 3},
    {"needle spanning a NUL is not a match", "%!\0PS"s, ALL, "%!PS", std::nullopt},
    {"bytes above 0x7F", "\xff\xc5\xd0", ALL, "\xc5\xd0", 1},
    {"single-byte needle at the end", "abc", ALL, "c", 2},
    {"absent", "abcdef", ALL, "%!PS", std::nullopt},
};

class FindBytesTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindBytesTest, Finds) {
    const FindCase& c = GetParam();
    const size_t nLength = c.nLength == ALL ? c.strBuffer.size() : c.nLength;
    EXPECT_EQ(
        FindBytes(reinterpret_cast<const unsigned char*>(c.strBuffer.data()), nLength, c.pszNeedle),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(Search, FindBytesTest, ::testing::ValuesIn(FIND_CASES));

TEST(FindBytes, NullBuffer) {
    EXPECT_EQ(FindBytes(nullptr, 10, "%!PS"), std::nullopt);
}

struct LineBreakCase {
    const char* pszName;
    std::string strData;
    size_t nPosition;
    std::optional<size_t> nOffset; // the distance is nPosition - nOffset
};

std::ostream& operator<<(std::ostream& os, const LineBreakCase& c) {
    return os << c.pszName;
}

const LineBreakCase LINE_BREAK_CASES[] = {
    {"LF", "ab\ncd", 5, 2},
    {"CR", "ab\rcd", 5, 2},
    {"nearest of CR LF", "ab\r\n", 4, 3},
    {"directly before the position", "ab\n", 3, 2},
    {"break at the position is not before it", "ab\ncd", 2, std::nullopt},
    {"break at the first byte is never examined", "\nabc", 4, std::nullopt},
    {"break at the second byte", "a\nbc", 4, 1},
    {"position 0", "\n", 0, std::nullopt},
    {"position 1", "\n\n", 1, std::nullopt},
    {"no break", "abcdef", 6, std::nullopt},
    {"other control bytes are not breaks", "a\f\v\x1a\x85", 5, std::nullopt},
};

class FindPreviousLineBreakTest : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(FindPreviousLineBreakTest, Finds) {
    const LineBreakCase& c = GetParam();
    std::optional<LineBreak> found = FindPreviousLineBreak(
        reinterpret_cast<const unsigned char*>(c.strData.data()), c.nPosition);
    ASSERT_EQ(found.has_value(), c.nOffset.has_value());
    if (found) {
        EXPECT_EQ(found->nOffset, *c.nOffset);
        EXPECT_EQ(found->nDistance, c.nPosition - *c.nOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(Scan, FindPreviousLineBreakTest, ::testing::ValuesIn(LINE_BREAK_CASES));

TEST(FramingLines, ExactText) {
    EXPECT_EQ(std::string(EpsPrefixLine, EPS_PREFIX_LINE_LENGTH),
              "systemdict /BrisolDict get begin /TrimToBBox true def /PDFCrop false def end\n");
    EXPECT_EQ(std::string(ShowPageTrailerLine, SHOW_PAGE_TRAILER_LINE_LENGTH),
              "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n");
}

} // namespace
