// The program's resources as the module holds them: every string byte for byte in the
// ANSI code page, the dialog templates control by control (parsed and created for real),
// the menus in all languages, the icon and the link cursor.
#include "DialogTemplateReader.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// Expected texts are written as CP1252 byte escapes, so a slip between UTF-8 and the ANSI
// code page in the resource source shows up as a mismatch. A hex escape swallows the hex
// letters after it, hence literals split as in "ge\xF6" "ffnet".
struct StringCase {
    UINT nId;
    const char* pszText;
};

const StringCase kStrings[] = {
    {IDS_REGISTRY_CAPTION, "Systemsteuerungsfehler"},
    {IDS_CAPTION, "PostScript zu PDF"},
    {IDS_NO_PRINTER, "Drucker f\xFCr $PR$ nicht gefunden.  Abbruch."},
    {IDS_PRINTER_DELETED, "Der Drucker wurde gel\xF6scht und ist daher nicht f\xFCr "
                          "Druckauftr\xE4ge verf\xFCgbar. System neu starten."},
    {IDS_PRINTER_PAUSED,
     "Der Drucker wurde pausiert und ist daher nicht f\xFCr Druckauftr\xE4ge verf\xFCgbar.  "
     "Machen Sie den Drucker \xFC"
     "ber Start->Einstellungen->Drucker wieder aktiv."},
    {IDS_PRINTER_ERROR, "Im Drucker liegt ein unbekannter Fehler vor und er ist daher nicht "
                        "f\xFCr Druckauftr\xE4ge verf\xFCgbar.  Starten Sie den Rechner neu."},
    {IDS_REG_OPEN, "'%1' wird ge\xF6"
                   "ffnet"},
    {IDS_REG_SIZE, "Gr\xF6\xDF"
                   "e von '%1' wird angefragt"},
    {IDS_REG_QUERY, "'%1' wird abgefragt"},
    {IDS_REG_CREATE, "'%1' wird zum Schreiben ge\xF6"
                     "ffnet"},
    {IDS_REG_WRITE, "Schreiben an '%1'"},
    {IDS_LEGAL_WARNING_1, "  "},
    {IDS_LEGAL_WARNING_2, ""},
    {IDS_KERNEL_VERSION, "  Kernel-Version "},
    {IDS_VERSION_PREFIX, "$PR$ V."},
    {IDS_ABOUT_MENU, "&Info zu Inkport..."},
    {IDS_CANCEL_QUESTION,
     "Sind Sie sicher, da\xDF Sie den Ausdruck dieses Dokument abbrechen wollen?"},
    {IDS_CANCEL_CAPTION, "Abbruch best\xE4tigen"},
    {IDS_RESUME, "&Weiter"},
    {IDS_PAUSE, "&Pause"},
    {IDS_OPEN_TITLE, "PostScript-Datei \xF6"
                     "ffnen"},
    {IDS_OPEN_FILTER, "PostScript-Datei|*.ps|EPS-Datei|*.eps|Alle Dateien|*.*||"},
    {IDS_NO_MEMORY,
     "Nicht gen\xFCgend Arbeitsspeicher um Dateilesepuffer zuzuweisen (64 KB erforderlich)"},
    {IDS_CANNOT_OPEN_INPUT, "Eingabedatei %1 konnte nicht ge\xF6"
                            "ffnet werden.\n\n"},
    {IDS_ALREADY_PDF, "Datei %1 ist bereits im Acrobat PDF-Format!"},
    {IDS_NOT_POSTSCRIPT, "%1 scheint keine PostScript-Datei zu sein.\n\nWenn Sie fortfahren, "
                         "kann es zu einem Systemabsturz kommen.\nWollen Sie fortfahren?"},
    {IDS_OUTPUT_NAME_TOO_LONG, "Der Name der PDF-Datei f\xFCr %1 w\xE4re l\xE4nger als erlaubt. "
                               "Die Datei wird nicht konvertiert."},
    {IDS_SEND_FAILED, "Die Datei %1 konnte nicht vollst\xE4ndig an den Drucker gesendet "
                      "werden.\n\n"},
};

TEST(ResourcesTest, EveryStringLoadsByteForByte) {
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE("string " + std::to_string(c.nId));
        EXPECT_EQ(LoadResourceString(c.nId), std::string(c.pszText));
    }
}

TEST(ResourcesTest, LegalWarningIsTwoBlanksAndAnEmptyText) {
    // The About box appends 35 to 34; both must load, and 35 must not swallow anything.
    char buffer[16] = "xxxxxxxxxxxxxxx";
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_LEGAL_WARNING_1, buffer, sizeof buffer),
              2);
    EXPECT_STREQ(buffer, "  ");
    std::fill(buffer, buffer + sizeof buffer - 1, 'x');
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_LEGAL_WARNING_2, buffer, sizeof buffer),
              0);
    EXPECT_STREQ(buffer, "");
}

TEST(ResourcesTest, StringTableHoldsNoOtherStrings) {
    // A string filed under a wrong number would load empty above and turn up here.
    std::set<UINT> expected;
    for (const StringCase& c : kStrings)
        expected.insert(c.nId);
    for (UINT nId = 0; nId < 1024; ++nId) {
        if (!expected.count(nId)) {
            EXPECT_EQ(LoadResourceString(nId), "") << "unexpected string " << nId;
        }
    }
}

// Dialog templates. Styles are the whole style words, so a missing or a stray bit fails.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kRightLabel = kChild | WS_GROUP | SS_RIGHT;
constexpr DWORD kReadOnlyEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_READONLY;
constexpr DWORD kProgressBar = kChild | WS_BORDER;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kGroupBox = kChild | BS_GROUPBOX;
constexpr DWORD kDialogFrame = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

struct ExpectedControl {
    int nId;
    const char* pszClass;
    DWORD dwStyle;
    const char* pszText;
    short x, y, cx, cy;
};

struct ExpectedDialog {
    UINT nId;
    DWORD dwStyle;
    DWORD dwExStyle;
    const char* pszCaption;
    const char* pszMenu;
    short cx, cy;
    std::vector<ExpectedControl> controls;
};

const char* const kProgress = "msctls_progress32";

const ExpectedDialog kDialogs[] = {
    {IDD_PROGRESS,
     kDialogFrame | WS_VISIBLE,
     WS_EX_APPWINDOW,
     "PostScript zu PDF",
     "",
     244,
     90,
     {
         {-1, "Static", kRightLabel, "Quellendatei :", 9, 10, 53, 8},
         {-1, "Static", kRightLabel, "Zieldatei :", 9, 29, 53, 8},
         {IDC_SOURCE, "Edit", kReadOnlyEdit | ES_AUTOHSCROLL, "", 65, 8, 169, 14},
         {IDC_DESTINATION, "Edit", kReadOnlyEdit | ES_AUTOHSCROLL, "", 65, 27, 169, 14},
         {IDC_PROGRESS, kProgress, kProgressBar, "", 65, 48, 169, 12},
         {IDC_PAUSE, "Button", kButton, "&Pause", 65, 68, 50, 14},
         {IDC_PROGRESS_CANCEL, "Button", kButton, "&Abbrechen", 131, 68, 50, 14},
     }},
    {IDD_CONVERTER,
     kDialogFrame | WS_SYSMENU,
     0,
     "PostScript-zu-PDF-Konverter",
     "#134",
     287,
     111,
     {
         {IDOK, "Button", kDefaultButton, "Fertig", 98, 90, 50, 14},
         {-1, "Static", kRightLabel, "Eingabedatei :", 13, 35, 50, 8},
         {-1, "Static", kRightLabel, "Ausgabedatei :", 13, 49, 50, 8},
         {IDC_INPUT_NAME, "Static", kLabel, "", 66, 35, 206, 8},
         {IDC_OUTPUT_NAME, "Static", kLabel, "", 66, 49, 206, 8},
         {IDC_PROGRESS, kProgress, kProgressBar, "", 66, 65, 206, 10},
         {-1, "Static", kRightLabel, "Status :", 31, 66, 32, 8},
         {IDC_PAUSE, "Button", kButton | WS_DISABLED, "&Pause", 164, 90, 50, 14},
         {IDC_CANCEL_BATCH, "Button", kButton | WS_DISABLED, "&Abbrechen", 230, 90, 50, 14},
         {-1, "Static", kRightLabel, "Verarbeitete Dateien :", 9, 17, 72, 8},
         {-1, "Button", kGroupBox, "", 5, 7, 275, 74},
         {IDC_PROCESSED, "Edit", kReadOnlyEdit, "", 84, 15, 40, 14},
         {-1, "Static", kRightLabel,
          "Dateien \xFC"
          "brig :",
          133, 17, 69, 8},
         {IDC_REMAINING, "Edit", kReadOnlyEdit, "", 204, 15, 40, 14},
     }},
    {IDD_CONFIGURE,
     kDialogFrame | WS_SYSMENU,
     0,
     "$PR$ konfigurieren",
     "",
     255,
     109,
     {
         {IDC_CONFIGURE_INTRO, "Static", kLabel,
          "&W\xE4hlen Sie die Konfiguration, die $PR$ zum Generieren von PDF-Dateien "
          "verwenden soll:",
          6, 4, 242, 19},
         {IDC_CONFIGURATIONS, "ComboBox", kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, "",
          6, 27, 242, 133},
         {-1, "Button", kGroupBox, "Ziel", 6, 44, 242, 37},
         {IDC_PROMPT_ALWAYS, "Button", kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON,
          "&Immer Eingabeaufforderung f\xFCr Ziel anzeigen", 13, 54, 165, 10},
         {IDC_PROMPT_NEVER, "Button", kChild | BS_AUTORADIOBUTTON,
          "&Keine Eingabeaufforderung f\xFCr Ziel", 13, 66, 130, 10},
         {IDC_EDIT_CONFIGURATIONS, "Button", kButton | WS_GROUP, "Konfigurationen &bearbeiten...",
          6, 88, 103, 14},
         {IDCANCEL, "Button", kButton, "Abbrechen", 143, 88, 50, 14},
         {IDOK, "Button", kDefaultButton, "OK", 198, 88, 50, 14},
     }},
    {IDD_ABOUT,
     kDialogFrame,
     0,
     "Info zu $PR$",
     "",
     312,
     242,
     {
         {IDOK, "Button", kDefaultButton, "OK", 255, 222, 50, 14},
         {-1, "Button", kGroupBox, "Produktangaben", 5, 5, 300, 141},
         {IDC_VERSION_LINE, "Static", kLabel, "$PR$", 11, 17, 290, 9},
         {IDC_MAKER_NOTICE, "Static", kLabel,
          "Copyright \xA9 1998-2001 VeltraneSystems. Alle Rechte vorbehalten.", 11, 27, 272, 9},
         {IDC_LEGAL_WARNING, "Static", kLabel, "", 11, 45, 272, 45},
         {-1, "Button", kGroupBox, "Technischer Support", 5, 149, 300, 68},
         {IDC_SUPPORT_NOTE, "Static", kLabel,
          "Antworten auf h\xE4ufige Fragen zu $PR$ und aktuelle Versionen finden Sie auf "
          "unserer Website:",
          12, 162, 284, 26},
         {IDC_WEB_LINK, "Static", kLabel | SS_NOTIFY, "www.veltrane.example", 12, 188, 87, 9},
         {IDC_DEBUG_MODE, "Button", kChild | WS_TABSTOP | BS_AUTOCHECKBOX,
          "&Debugging-Modus - Nur auf Anweisung von $SN$-Support verwenden", 13, 202, 289, 8},
     }},
};

// Window class names are compared the way the system compares them: without case.
bool SameClass(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string DialogName(UINT nId) {
    return "dialog " + std::to_string(nId);
}

TEST(ResourcesTest, DialogTemplatesMatchTheirLayout) {
    for (const ExpectedDialog& expected : kDialogs) {
        SCOPED_TRACE(DialogName(expected.nId));
        DialogTemplate dialog;
        ASSERT_TRUE(LoadDialogTemplate(GetModuleHandleA(nullptr), expected.nId, dialog));
        EXPECT_EQ(dialog.dwStyle, expected.dwStyle);
        EXPECT_EQ(dialog.dwExStyle, expected.dwExStyle);
        EXPECT_EQ(dialog.strCaption, expected.pszCaption);
        EXPECT_EQ(dialog.strMenu, expected.pszMenu);
        EXPECT_EQ(dialog.strClass, "");
        EXPECT_EQ(dialog.cx, expected.cx);
        EXPECT_EQ(dialog.cy, expected.cy);
        EXPECT_EQ(dialog.strTypeface, "MS Sans Serif");
        EXPECT_EQ(dialog.wPointSize, 8);
        EXPECT_EQ(dialog.bItalic, 0);
        ASSERT_EQ(dialog.controls.size(), expected.controls.size());
        for (size_t i = 0; i < expected.controls.size(); ++i) {
            const ControlTemplate& control = dialog.controls[i];
            const ExpectedControl& want = expected.controls[i];
            SCOPED_TRACE("control #" + std::to_string(i) + " id " + std::to_string(want.nId));
            EXPECT_EQ(control.nId, want.nId);
            EXPECT_TRUE(SameClass(control.strClass, want.pszClass)) << control.strClass;
            EXPECT_EQ(control.dwStyle, want.dwStyle)
                << std::hex << control.dwStyle << " != " << want.dwStyle;
            EXPECT_EQ(control.dwExStyle, 0u);
            EXPECT_EQ(control.strText, want.pszText);
            EXPECT_EQ(control.x, want.x);
            EXPECT_EQ(control.y, want.y);
            EXPECT_EQ(control.cx, want.cx);
            EXPECT_EQ(control.cy, want.cy);
        }
    }
}

// Owns a window made for a test and destroys it at the end of the scope.
class ScopedWindow {
public:
    explicit ScopedWindow(HWND hWnd) : m_hWnd(hWnd) {}
    ~ScopedWindow() {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }
    ScopedWindow(const ScopedWindow&) = delete;
    ScopedWindow& operator=(const ScopedWindow&) = delete;
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::string WindowText(HWND hWnd) {
    char buffer[1024] = "";
    GetWindowTextA(hWnd, buffer, sizeof buffer);
    return buffer;
}

std::string ClassName(HWND hWnd) {
    char buffer[256] = "";
    GetClassNameA(hWnd, buffer, sizeof buffer);
    return buffer;
}

TEST(ResourcesTest, DialogsCreateWithTheirControls) {
    for (const ExpectedDialog& expected : kDialogs) {
        SCOPED_TRACE(DialogName(expected.nId));
        ScopedWindow dialog(CreateDialogParamA(GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(expected.nId), nullptr,
                                               PlainDialogProc, 0));
        ASSERT_NE(dialog.Get(), nullptr) << "error " << GetLastError();
        HWND hDlg = dialog.Get();
        EXPECT_EQ(WindowText(hDlg), expected.pszCaption);
        LONG_PTR style = GetWindowLongPtrA(hDlg, GWL_STYLE);
        EXPECT_EQ((style & WS_SYSMENU) != 0, (expected.dwStyle & WS_SYSMENU) != 0);
        EXPECT_FALSE(style & WS_MINIMIZEBOX);
        EXPECT_EQ(IsWindowVisible(hDlg) != FALSE, (expected.dwStyle & WS_VISIBLE) != 0);
        LONG_PTR exStyle = GetWindowLongPtrA(hDlg, GWL_EXSTYLE);
        EXPECT_EQ((exStyle & WS_EX_APPWINDOW) != 0, (expected.dwExStyle & WS_EX_APPWINDOW) != 0);

        // The children come in template order.
        HWND hChild = GetWindow(hDlg, GW_CHILD);
        for (const ExpectedControl& want : expected.controls) {
            SCOPED_TRACE("control id " + std::to_string(want.nId));
            ASSERT_NE(hChild, nullptr);
            EXPECT_EQ(GetDlgCtrlID(hChild), want.nId);
            EXPECT_TRUE(SameClass(ClassName(hChild), want.pszClass)) << ClassName(hChild);
            EXPECT_EQ(WindowText(hChild), want.pszText);
            if (want.nId != -1) {
                char buffer[1024] = "x";
                GetDlgItemTextA(hDlg, want.nId, buffer, sizeof buffer);
                EXPECT_EQ(std::string(buffer), want.pszText);
            }
            hChild = GetWindow(hChild, GW_HWNDNEXT);
        }
        EXPECT_EQ(hChild, nullptr) << "more controls than expected";

        HMENU hMenu = GetMenu(hDlg);
        EXPECT_EQ(hMenu != nullptr, *expected.pszMenu != '\0');
        if (hMenu) {
            char text[64] = "";
            GetMenuStringA(hMenu, 0, text, sizeof text, MF_BYPOSITION);
            EXPECT_STREQ(text, "&Datei");
        }
    }
}

// Menus: the German one the converter window shows and its translations.
struct ExpectedMenu {
    UINT nId;
    const char* pszPopups[3];
    const char* pszOpen;
    const char* pszConfigure;
    const char* pszHelp;
    const char* pszAbout;
};

const ExpectedMenu kMenus[] = {
    {IDR_MAINMENU,
     {"&Datei", "&Einstellungen", "&Hilfe"},
     "\xD6&ffnen...",
     "&Konfigurieren...",
     "&Hilfe",
     "&Info..."},
    {IDR_MENU_FR,
     {"&Fichier", "&Param\xE8tres", "&?"},
     "&Ouvrir...",
     "&Configurer...",
     "&Aide",
     "A propos..."},
    {IDR_MENU_DE,
     {"&Datei", "&Einstellungen", "&Hilfe"},
     "\xD6&ffnen...",
     "&Konfigurieren...",
     "&Hilfe",
     "&Info..."},
    {IDR_MENU_IT,
     {"&File", "&Impostazioni", "&Guida"},
     "&Apri...",
     "&Configura...",
     "&Guida",
     "&Informazioni..."},
    {IDR_MENU_ES,
     {"&Archivo", "&Configuraci\xF3n", "Ay&uda"},
     "&Abrir...",
     "&Configurar...",
     "Ay&uda",
     "&Acerca..."},
    {IDR_MENU_EN,
     {"&File", "&Settings", "&Help"},
     "&Open...",
     "&Configure...",
     "&Help",
     "&About..."},
};

class ScopedMenu {
public:
    explicit ScopedMenu(HMENU hMenu) : m_hMenu(hMenu) {}
    ~ScopedMenu() {
        if (m_hMenu)
            DestroyMenu(m_hMenu);
    }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    HMENU Get() const { return m_hMenu; }

private:
    HMENU m_hMenu;
};

std::string MenuText(HMENU hMenu, UINT nPosition) {
    char buffer[256] = "";
    GetMenuStringA(hMenu, nPosition, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

bool IsSeparator(HMENU hMenu, UINT nPosition) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(hMenu, nPosition, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

TEST(ResourcesTest, MenusHaveTheirItemsInEveryLanguage) {
    for (const ExpectedMenu& expected : kMenus) {
        SCOPED_TRACE("menu " + std::to_string(expected.nId));
        ScopedMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(expected.nId)));
        ASSERT_NE(menu.Get(), nullptr);
        ASSERT_EQ(GetMenuItemCount(menu.Get()), 3);
        for (UINT i = 0; i < 3; ++i)
            EXPECT_EQ(MenuText(menu.Get(), i), expected.pszPopups[i]);

        HMENU hFile = GetSubMenu(menu.Get(), 0);
        HMENU hSettings = GetSubMenu(menu.Get(), 1);
        HMENU hHelp = GetSubMenu(menu.Get(), 2);
        ASSERT_TRUE(hFile && hSettings && hHelp);

        ASSERT_EQ(GetMenuItemCount(hFile), 1);
        EXPECT_EQ(GetMenuItemID(hFile, 0), static_cast<UINT>(IDM_FILE_OPEN));
        EXPECT_EQ(MenuText(hFile, 0), expected.pszOpen);

        ASSERT_EQ(GetMenuItemCount(hSettings), 1);
        EXPECT_EQ(GetMenuItemID(hSettings, 0), static_cast<UINT>(IDM_CONFIGURE));
        EXPECT_EQ(MenuText(hSettings, 0), expected.pszConfigure);

        ASSERT_EQ(GetMenuItemCount(hHelp), 3);
        EXPECT_EQ(GetMenuItemID(hHelp, 0), static_cast<UINT>(IDM_HELP));
        EXPECT_EQ(MenuText(hHelp, 0), expected.pszHelp);
        EXPECT_FALSE(IsSeparator(hHelp, 0));
        EXPECT_TRUE(IsSeparator(hHelp, 1));
        EXPECT_EQ(GetMenuItemID(hHelp, 2), static_cast<UINT>(IDM_ABOUT));
        EXPECT_EQ(MenuText(hHelp, 2), expected.pszAbout);
    }
}

// Owns the bitmaps GetIconInfo hands out.
class ScopedIconInfo {
public:
    explicit ScopedIconInfo(HICON hIcon) { m_bOk = GetIconInfo(hIcon, &m_info) != FALSE; }
    ~ScopedIconInfo() {
        if (m_info.hbmMask)
            DeleteObject(m_info.hbmMask);
        if (m_info.hbmColor)
            DeleteObject(m_info.hbmColor);
    }
    ScopedIconInfo(const ScopedIconInfo&) = delete;
    ScopedIconInfo& operator=(const ScopedIconInfo&) = delete;
    bool Ok() const { return m_bOk; }
    const ICONINFO& Get() const { return m_info; }

private:
    ICONINFO m_info{};
    bool m_bOk = false;
};

TEST(ResourcesTest, ProgramIconHasBothSizes) {
    HMODULE hModule = GetModuleHandleA(nullptr);
    HICON hIcon = LoadIconA(hModule, MAKEINTRESOURCEA(IDI_MAINFRAME));
    ASSERT_NE(hIcon, nullptr);
    ScopedIconInfo info(hIcon);
    ASSERT_TRUE(info.Ok());
    EXPECT_TRUE(info.Get().fIcon);

    // The group directory lists one image per size, each stored as its own icon resource.
    HRSRC hGroup = FindResourceA(hModule, MAKEINTRESOURCEA(IDI_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(hGroup, nullptr);
    const BYTE* pGroup = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hGroup)));
    ASSERT_NE(pGroup, nullptr);
    DWORD cbGroup = SizeofResource(hModule, hGroup);
    ASSERT_GE(cbGroup, 6u);
    WORD wCount = static_cast<WORD>(pGroup[4] | (pGroup[5] << 8));
    ASSERT_GE(cbGroup, 6u + 14u * wCount);
    std::set<int> widths;
    for (WORD i = 0; i < wCount; ++i) {
        const BYTE* pEntry = pGroup + 6 + 14 * i;
        widths.insert(pEntry[0] == 0 ? 256 : pEntry[0]);
        EXPECT_EQ(pEntry[0], pEntry[1]) << "square images";
        WORD wImageId = static_cast<WORD>(pEntry[12] | (pEntry[13] << 8));
        EXPECT_NE(FindResourceA(hModule, MAKEINTRESOURCEA(wImageId), RT_ICON), nullptr);
    }
    EXPECT_EQ(widths, (std::set<int>{16, 32}));
}

TEST(ResourcesTest, LinkCursorPointsWithTheFingerTip) {
    HCURSOR hCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINKHAND));
    ASSERT_NE(hCursor, nullptr);
    ScopedIconInfo info(hCursor);
    ASSERT_TRUE(info.Ok());
    const ICONINFO& ii = info.Get();
    EXPECT_FALSE(ii.fIcon);
    EXPECT_FALSE(ii.xHotspot == 0 && ii.yHotspot == 0);

    // The hot spot must sit on the topmost row the hand covers, on a covered pixel.
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(ii.hbmMask, sizeof bm, &bm));
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
    ASSERT_EQ(GetBitmapBits(ii.hbmMask, static_cast<LONG>(bits.size()), bits.data()),
              static_cast<LONG>(bits.size()));
    // A monochrome cursor keeps its AND mask above its XOR image in one bitmap.
    int height = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    auto covered = [&](int x, int y) {
        BYTE b = bits[static_cast<size_t>(y) * bm.bmWidthBytes + x / 8];
        return (b & (0x80 >> (x % 8))) == 0;
    };
    int topRow = -1;
    for (int y = 0; y < height && topRow < 0; ++y) {
        for (int x = 0; x < bm.bmWidth; ++x) {
            if (covered(x, y)) {
                topRow = y;
                break;
            }
        }
    }
    ASSERT_GE(topRow, 0) << "the cursor shows nothing";
    EXPECT_EQ(static_cast<int>(ii.yHotspot), topRow);
    ASSERT_LT(static_cast<int>(ii.xHotspot), bm.bmWidth);
    EXPECT_TRUE(covered(static_cast<int>(ii.xHotspot), static_cast<int>(ii.yHotspot)));
}

} // namespace
