#include "ConfigurationsDialog.h"

#include "AppletResource.h"
#include "ConfigurationRules.h"

#include "printer/common/RegistryOnDisk.h"

namespace {

enum class PdfControlKind { Number, Choice, List };

// The dialog's PDF controls and the setting each shows: a number typed into a field, a
// choice from a list whose entries are the setting's values in order, or a font list.
struct PdfControl {
    int nID;
    PdfControlKind kind;
    uint32_t PdfSettings::*pNumber;
    std::vector<std::string> PdfSettings::*pList;
    // A choice: the text of its first entry; a number or a font list: the message when
    // what was typed is not allowed.
    UINT nText;
};

const PdfControl kPdfControls[] = {
    {IDC_COLOUR_RESOLUTION, PdfControlKind::Number, &PdfSettings::ColourResolution, nullptr,
     IDS_COLOUR_RESOLUTION_INVALID},
    {IDC_COLOUR_COMPRESSION, PdfControlKind::Choice, &PdfSettings::Colour, nullptr,
     IDS_IMAGE_COMPRESSION_0},
    {IDC_GREY_RESOLUTION, PdfControlKind::Number, &PdfSettings::GreyResolution, nullptr,
     IDS_GREY_RESOLUTION_INVALID},
    {IDC_GREY_COMPRESSION, PdfControlKind::Choice, &PdfSettings::Grey, nullptr,
     IDS_IMAGE_COMPRESSION_0},
    {IDC_MONO_RESOLUTION, PdfControlKind::Number, &PdfSettings::MonoResolution, nullptr,
     IDS_MONO_RESOLUTION_INVALID},
    {IDC_MONO_COMPRESSION, PdfControlKind::Choice, &PdfSettings::Monochrome, nullptr,
     IDS_MONO_COMPRESSION_0},
    {IDC_FONTS, PdfControlKind::Choice, &PdfSettings::Fonts, nullptr, IDS_FONTS_0},
    {IDC_EMBED_FONTS, PdfControlKind::List, nullptr, &PdfSettings::EmbedFonts,
     IDS_EMBED_FONTS_INVALID},
    {IDC_NEVER_EMBED_FONTS, PdfControlKind::List, nullptr, &PdfSettings::NeverEmbedFonts,
     IDS_NEVER_EMBED_FONTS_INVALID},
};

// Every choice has the values 0 to 2.
constexpr int kChoiceCount = 3;

const PdfNumber* FindPdfNumber(uint32_t PdfSettings::*pMember) {
    for (const PdfNumber& number : kPdfNumbers)
        if (number.pMember == pMember)
            return &number;
    return nullptr;
}

bool IsChecked(HWND hDlg, int nID) {
    return IsDlgButtonChecked(hDlg, nID) == BST_CHECKED;
}

void SetChecked(HWND hDlg, int nID, bool bChecked) {
    CheckDlgButton(hDlg, nID, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

void FocusControl(HWND hDlg, int nID) {
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, nID)), TRUE);
}

// The system's text for a Win32 error code, without the line break it ends with.
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

UINT NameProblemText(NameProblem problem) {
    switch (problem) {
    case NameProblem::Empty:
        return IDS_NAME_EMPTY;
    case NameProblem::Backslash:
        return IDS_NAME_BACKSLASH;
    case NameProblem::ControlCharacter:
        return IDS_NAME_CONTROL;
    case NameProblem::TooLong:
        return IDS_NAME_TOO_LONG;
    case NameProblem::None:
        break;
    }
    return 0;
}

UINT PathProblemText(PathProblem problem) {
    switch (problem) {
    case PathProblem::Missing:
        return IDS_PATH_MISSING;
    case PathProblem::NotAbsolute:
        return IDS_PATH_NOT_ABSOLUTE;
    case PathProblem::ParentComponent:
        return IDS_PATH_PARENT;
    case PathProblem::TooLong:
        return IDS_PATH_TOO_LONG;
    case PathProblem::None:
        break;
    }
    return 0;
}

} // namespace

INT_PTR ConfigurationsDialog::DoModal(HWND hwndOwner) {
    return DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(IDD_CONFIGURATIONS), hwndOwner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ConfigurationsDialog::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        auto* pThis = reinterpret_cast<ConfigurationsDialog*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        pThis->m_hDlg = hDlg;
        pThis->OnInitDialog();
        return TRUE;
    }
    auto* pThis = reinterpret_cast<ConfigurationsDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (pThis == nullptr || uMsg != WM_COMMAND)
        return FALSE;
    pThis->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

void ConfigurationsDialog::OnInitDialog() {
    // Long names must be refused with a message, not cut off silently while typing.
    SendDlgItemMessageA(m_hDlg, IDC_NEW_NAME, EM_LIMITTEXT, 0, 0);
    SendDlgItemMessageA(m_hDlg, IDC_OUTPUT_PATH, EM_LIMITTEXT, 0, 0);
    for (const PdfControl& control : kPdfControls) {
        if (control.kind == PdfControlKind::List)
            SendDlgItemMessageA(m_hDlg, control.nID, EM_LIMITTEXT, 0, 0);
        if (control.kind != PdfControlKind::Choice)
            continue;
        for (int i = 0; i < kChoiceCount; ++i)
            SendDlgItemMessageA(
                m_hDlg, control.nID, CB_ADDSTRING, 0,
                reinterpret_cast<LPARAM>(LoadText(control.nText + static_cast<UINT>(i)).c_str()));
    }
    Reload(std::string());
}

void ConfigurationsDialog::OnCommand(int nID, int nCode) {
    switch (nID) {
    case IDC_CONFIG_LIST:
        if (nCode == LBN_SELCHANGE)
            OnSelectionChange();
        break;
    case IDC_NEW_NAME:
        // Enter in the name field creates the configuration instead of closing the dialog.
        if (nCode == EN_SETFOCUS)
            SendMessageA(m_hDlg, DM_SETDEFID, IDC_CREATE, 0);
        else if (nCode == EN_KILLFOCUS)
            SendMessageA(m_hDlg, DM_SETDEFID, IDOK, 0);
        break;
    case IDC_CREATE:
        OnCreate();
        break;
    case IDC_DELETE:
        OnDelete();
        break;
    case IDC_ACTIVATE:
        OnActivate();
        break;
    case IDC_USE_OUTPUT_PATH:
        OnUseOutputPathClicked();
        break;
    case IDOK:
        OnOK();
        break;
    case IDCANCEL:
        EndDialog(m_hDlg, IDCANCEL);
        break;
    default:
        break;
    }
}

void ConfigurationsDialog::OnSelectionChange() {
    StashShown();
    ShowSelected();
}

void ConfigurationsDialog::OnCreate() {
    std::string strName = TrimBlanks(ItemText(IDC_NEW_NAME));
    NameProblem problem = CheckConfigurationName(strName);
    if (problem != NameProblem::None) {
        ShowMessage(FillIn(LoadText(NameProblemText(problem)), strName),
                    MB_OK | MB_ICONEXCLAMATION);
        FocusControl(m_hDlg, IDC_NEW_NAME);
        return;
    }
    LONG nError = ERROR_SUCCESS;
    switch (CreateConfiguration(strName, nError)) {
    case CreateOutcome::AlreadyExists:
        ShowMessage(FillIn(LoadText(IDS_NAME_EXISTS), strName), MB_OK | MB_ICONEXCLAMATION);
        FocusControl(m_hDlg, IDC_NEW_NAME);
        return;
    case CreateOutcome::Failed:
        ShowFailure(IDS_CREATE_FAILED, strName, nError);
        return;
    case CreateOutcome::Created:
        break;
    }
    WriteToDisk();
    SetDlgItemTextA(m_hDlg, IDC_NEW_NAME, "");
    Reload(strName);
}

void ConfigurationsDialog::OnDelete() {
    int nIndex = SelectedIndex();
    if (nIndex < 0)
        return;
    const std::string strName = m_names[static_cast<size_t>(nIndex)];
    const bool bActive = nIndex == ActiveIndex();
    // The active configuration passes to the first one that remains, so the converter
    // never starts with a name whose settings are gone.
    std::string strSuccessor;
    for (const std::string& strOther : m_names)
        if (!SameConfigurationName(strOther, strName)) {
            strSuccessor = strOther;
            break;
        }
    UINT nQuestion = !bActive                ? IDS_DELETE_CONFIRM
                     : !strSuccessor.empty() ? IDS_DELETE_ACTIVE_CONFIRM
                                             : IDS_DELETE_LAST_ACTIVE_CONFIRM;
    if (ShowMessage(FillIn(LoadText(nQuestion), strName, strSuccessor),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;

    // Its pending edits go with it.
    m_bShowing = false;
    m_choices.erase(strName);
    LONG nError = DeleteConfiguration(strName);
    if (nError != ERROR_SUCCESS) {
        ShowFailure(IDS_DELETE_FAILED, strName, nError);
        Reload(strName);
        return;
    }
    WriteToDisk();
    if (bActive) {
        nError = strSuccessor.empty() ? ClearActiveConfiguration()
                                      : WriteActiveConfiguration(strSuccessor);
        if (nError != ERROR_SUCCESS)
            ShowFailure(strSuccessor.empty() ? IDS_CLEAR_ACTIVE_FAILED : IDS_ACTIVATE_FAILED,
                        strSuccessor, nError);
    }
    Reload(strSuccessor);
}

void ConfigurationsDialog::OnActivate() {
    int nIndex = SelectedIndex();
    if (nIndex < 0)
        return;
    const std::string strName = m_names[static_cast<size_t>(nIndex)];
    LONG nError = WriteActiveConfiguration(strName);
    if (nError != ERROR_SUCCESS)
        ShowFailure(IDS_ACTIVATE_FAILED, strName, nError);
    Reload(strName);
}

void ConfigurationsDialog::OnUseOutputPathClicked() {
    EnableWindow(GetDlgItem(m_hDlg, IDC_OUTPUT_PATH),
                 m_bShowing && IsChecked(m_hDlg, IDC_USE_OUTPUT_PATH));
}

void ConfigurationsDialog::OnOK() {
    StashShown();
    // Every edited configuration must be valid before anything is written.
    std::map<std::string, PdfSettings> pdfs;
    for (size_t i = 0; i < m_names.size(); ++i) {
        auto it = m_choices.find(m_names[i]);
        if (it == m_choices.end())
            continue;
        PathProblem problem =
            CheckOutputPath(TrimBlanks(it->second.strOutputPath), it->second.bUseOutputPath);
        if (problem != PathProblem::None) {
            Select(static_cast<int>(i));
            ShowMessage(FillIn(LoadText(PathProblemText(problem)), m_names[i]),
                        MB_OK | MB_ICONEXCLAMATION);
            FocusControl(m_hDlg, IDC_OUTPUT_PATH);
            return;
        }
        if (!PdfFromChoices(m_names[i], it->second, pdfs[m_names[i]]))
            return;
    }
    bool bWritten = false;
    for (const std::string& strName : m_names) {
        auto it = m_choices.find(strName);
        if (it == m_choices.end())
            continue;
        Choices& choices = it->second;
        std::string strPath = TrimBlanks(choices.strOutputPath);
        const PdfSettings& pdf = pdfs[strName];
        bool bChanged =
            choices.bUseOutputPath != ((choices.original.dwGeneral & kGeneralUseOutputPath) != 0) ||
            choices.bOverwrite != ((choices.original.dwGeneral & kGeneralOverwrite) != 0) ||
            strPath != choices.original.strOutputPath || !(pdf == choices.original.pdf);
        if (!bChanged)
            continue;
        LONG nError = WriteEditableValues(strName, choices.bUseOutputPath, choices.bOverwrite,
                                          strPath, pdf, choices.original.pdf);
        bWritten = true;
        if (nError != ERROR_SUCCESS) {
            ShowFailure(IDS_SAVE_FAILED, strName, nError);
            WriteToDisk();
            return;
        }
        choices.original = ReadEditableValues(strName);
    }
    if (bWritten)
        WriteToDisk();
    EndDialog(m_hDlg, IDOK);
}

bool ConfigurationsDialog::PdfFromChoices(const std::string& strName, const Choices& choices,
                                          PdfSettings& pdf) {
    pdf = choices.original.pdf;
    for (const PdfControl& control : kPdfControls) {
        std::string strText;
        if (auto it = choices.pdfTexts.find(control.nID); it != choices.pdfTexts.end())
            strText = it->second;
        std::string strDetail;
        switch (control.kind) {
        case PdfControlKind::Choice:
            if (auto it = choices.pdfChoices.find(control.nID);
                it != choices.pdfChoices.end() && it->second >= 0 && it->second < kChoiceCount)
                pdf.*control.pNumber = static_cast<uint32_t>(it->second);
            continue;
        case PdfControlKind::Number: {
            const PdfNumber* pNumber = FindPdfNumber(control.pNumber);
            const std::optional<uint32_t> value =
                pNumber ? ParseSettingNumber(strText, *pNumber) : std::nullopt;
            if (value) {
                pdf.*control.pNumber = *value;
                continue;
            }
            if (pNumber)
                strDetail = std::to_string(pNumber->nMin) + " bis " + std::to_string(pNumber->nMax);
            break;
        }
        case PdfControlKind::List: {
            std::optional<std::vector<std::string>> names = ParseFontList(strText, strDetail);
            if (names) {
                pdf.*control.pList = *names;
                continue;
            }
            break;
        }
        }
        UINT nMessage = control.nText;
        if (control.kind == PdfControlKind::List && strDetail.empty()) {
            nMessage = IDS_FONT_LIST_TOO_LONG;
            strDetail = std::to_string(kMaxFontNames);
        }
        for (size_t i = 0; i < m_names.size(); ++i)
            if (m_names[i] == strName)
                Select(static_cast<int>(i));
        ShowMessage(FillIn(LoadText(nMessage), strName, strDetail), MB_OK | MB_ICONEXCLAMATION);
        FocusControl(m_hDlg, control.nID);
        return false;
    }
    return true;
}

void ConfigurationsDialog::WriteToDisk() const {
    LONG nError = WriteMachineRegistryToDisk();
    if (nError != ERROR_SUCCESS)
        ShowFailure(IDS_DISK_FAILED, std::string(), nError);
}

// Lists the configurations afresh and selects strSelect, else the active one, else the
// first. Choices already made for configurations that still exist are kept.
void ConfigurationsDialog::Reload(const std::string& strSelect) {
    StashShown();
    m_bShowing = false;
    LONG nError = ListConfigurations(m_names);
    if (nError != ERROR_SUCCESS)
        ShowFailure(IDS_LIST_FAILED, std::string(), nError);
    m_strActive = ReadActiveConfiguration();
    for (auto it = m_choices.begin(); it != m_choices.end();) {
        bool bExists = false;
        for (const std::string& strName : m_names)
            bExists = bExists || strName == it->first;
        it = bExists ? std::next(it) : m_choices.erase(it);
    }

    HWND hList = GetDlgItem(m_hDlg, IDC_CONFIG_LIST);
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    const int nActive = ActiveIndex();
    const std::string strMark = LoadText(IDS_ACTIVE_MARK);
    int nSelect = -1;
    for (size_t i = 0; i < m_names.size(); ++i) {
        std::string strEntry = m_names[i];
        if (static_cast<int>(i) == nActive)
            strEntry += strMark;
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strEntry.c_str()));
        if (nSelect < 0 && !strSelect.empty() && m_names[i] == strSelect)
            nSelect = static_cast<int>(i);
    }
    if (nSelect < 0)
        nSelect = nActive;
    if (nSelect < 0 && !m_names.empty())
        nSelect = 0;
    SendMessageA(hList, LB_SETCURSEL, static_cast<WPARAM>(nSelect), 0);

    std::string strActiveText = nActive >= 0 ? m_names[static_cast<size_t>(nActive)]
                                : m_strActive.empty()
                                    ? LoadText(IDS_NO_ACTIVE)
                                    : FillIn(LoadText(IDS_ACTIVE_MISSING), m_strActive);
    SetDlgItemTextA(m_hDlg, IDC_ACTIVE_NAME, strActiveText.c_str());
    ShowSelected();
}

void ConfigurationsDialog::Select(int nIndex) {
    StashShown();
    SendDlgItemMessageA(m_hDlg, IDC_CONFIG_LIST, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ShowSelected();
}

// Keeps what the controls show for the configuration on display.
void ConfigurationsDialog::StashShown() {
    if (!m_bShowing)
        return;
    Choices& choices = m_choices[m_strShown];
    choices.bUseOutputPath = IsChecked(m_hDlg, IDC_USE_OUTPUT_PATH);
    choices.bOverwrite = IsChecked(m_hDlg, IDC_OVERWRITE);
    choices.strOutputPath = ItemText(IDC_OUTPUT_PATH);
    for (const PdfControl& control : kPdfControls) {
        if (control.kind == PdfControlKind::Choice)
            choices.pdfChoices[control.nID] =
                static_cast<int>(SendDlgItemMessageA(m_hDlg, control.nID, CB_GETCURSEL, 0, 0));
        else
            choices.pdfTexts[control.nID] = ItemText(control.nID);
    }
}

void ConfigurationsDialog::ShowSelected() {
    int nIndex = SelectedIndex();
    m_bShowing = nIndex >= 0;
    if (m_bShowing) {
        m_strShown = m_names[static_cast<size_t>(nIndex)];
        auto it = m_choices.find(m_strShown);
        if (it == m_choices.end()) {
            Choices choices;
            choices.original = ReadEditableValues(m_strShown);
            choices.bUseOutputPath = (choices.original.dwGeneral & kGeneralUseOutputPath) != 0;
            choices.bOverwrite = (choices.original.dwGeneral & kGeneralOverwrite) != 0;
            choices.strOutputPath = choices.original.strOutputPath;
            const PdfSettings& pdf = choices.original.pdf;
            for (const PdfControl& control : kPdfControls) {
                if (control.kind == PdfControlKind::Choice)
                    choices.pdfChoices[control.nID] = static_cast<int>(pdf.*control.pNumber);
                else if (control.kind == PdfControlKind::Number)
                    choices.pdfTexts[control.nID] = std::to_string(pdf.*control.pNumber);
                else
                    choices.pdfTexts[control.nID] = JoinFontList(pdf.*control.pList);
            }
            it = m_choices.emplace(m_strShown, choices).first;
        }
        SetChecked(m_hDlg, IDC_USE_OUTPUT_PATH, it->second.bUseOutputPath);
        SetChecked(m_hDlg, IDC_OVERWRITE, it->second.bOverwrite);
        SetDlgItemTextA(m_hDlg, IDC_OUTPUT_PATH, it->second.strOutputPath.c_str());
        for (const PdfControl& control : kPdfControls) {
            if (control.kind == PdfControlKind::Choice)
                SendDlgItemMessageA(m_hDlg, control.nID, CB_SETCURSEL,
                                    static_cast<WPARAM>(it->second.pdfChoices[control.nID]), 0);
            else
                SetDlgItemTextA(m_hDlg, control.nID, it->second.pdfTexts[control.nID].c_str());
        }
        std::string strGroup = FillIn(LoadText(IDS_SETTINGS_OF), EscapeAmpersands(m_strShown));
        SetDlgItemTextA(m_hDlg, IDC_SETTINGS_GROUP, strGroup.c_str());
    } else {
        m_strShown.clear();
        SetChecked(m_hDlg, IDC_USE_OUTPUT_PATH, false);
        SetChecked(m_hDlg, IDC_OVERWRITE, false);
        SetDlgItemTextA(m_hDlg, IDC_OUTPUT_PATH, "");
        for (const PdfControl& control : kPdfControls) {
            if (control.kind == PdfControlKind::Choice)
                SendDlgItemMessageA(m_hDlg, control.nID, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            else
                SetDlgItemTextA(m_hDlg, control.nID, "");
        }
        SetDlgItemTextA(m_hDlg, IDC_SETTINGS_GROUP, LoadText(IDS_SETTINGS_NONE).c_str());
    }
    EnableControls();
}

void ConfigurationsDialog::EnableControls() {
    const bool bSelected = m_bShowing;
    const bool bActive = bSelected && SelectedIndex() == ActiveIndex();
    EnableWindow(GetDlgItem(m_hDlg, IDC_ACTIVATE), bSelected && !bActive);
    EnableWindow(GetDlgItem(m_hDlg, IDC_DELETE), bSelected);
    EnableWindow(GetDlgItem(m_hDlg, IDC_USE_OUTPUT_PATH), bSelected);
    EnableWindow(GetDlgItem(m_hDlg, IDC_OVERWRITE), bSelected);
    for (const PdfControl& control : kPdfControls)
        EnableWindow(GetDlgItem(m_hDlg, control.nID), bSelected);
    OnUseOutputPathClicked();
}

int ConfigurationsDialog::SelectedIndex() const {
    LRESULT nIndex = SendDlgItemMessageA(m_hDlg, IDC_CONFIG_LIST, LB_GETCURSEL, 0, 0);
    return nIndex >= 0 && static_cast<size_t>(nIndex) < m_names.size() ? static_cast<int>(nIndex)
                                                                       : -1;
}

int ConfigurationsDialog::ActiveIndex() const {
    if (m_strActive.empty())
        return -1;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (SameConfigurationName(m_names[i], m_strActive))
            return static_cast<int>(i);
    return -1;
}

std::string ConfigurationsDialog::ItemText(int nID) const {
    HWND hItem = GetDlgItem(m_hDlg, nID);
    int nLength = GetWindowTextLengthA(hItem);
    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    int nCopied = GetWindowTextA(hItem, &strText[0], nLength + 1);
    strText.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return strText;
}

std::string ConfigurationsDialog::LoadText(UINT nID) const {
    char szText[1024] = "";
    LoadStringA(m_hInstance, nID, szText, sizeof szText);
    return szText;
}

int ConfigurationsDialog::ShowMessage(const std::string& strText, UINT uType) const {
    return MessageBoxA(m_hDlg, strText.c_str(), LoadText(IDS_BOX_CAPTION).c_str(), uType);
}

void ConfigurationsDialog::ShowFailure(UINT nTemplate, const std::string& strName,
                                       LONG nError) const {
    ShowMessage(FillIn(LoadText(nTemplate), strName, SystemText(nError)), MB_OK | MB_ICONERROR);
}
