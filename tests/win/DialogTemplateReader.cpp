#include "DialogTemplateReader.h"

#include <cstring>

namespace {

// Walks the template bytes; every read checks the bounds and clears m_bOk on overrun.
class TemplateCursor {
public:
    TemplateCursor(const void* pData, size_t cbSize)
        : m_pData(static_cast<const BYTE*>(pData)), m_cbSize(cbSize) {}

    bool Ok() const { return m_bOk; }

    template <typename T> T Read() {
        T value{};
        if (!Has(sizeof value))
            return value;
        std::memcpy(&value, m_pData + m_nOffset, sizeof value);
        m_nOffset += sizeof value;
        return value;
    }

    // Items start on DWORD boundaries, counted from the start of the template.
    void AlignToDword() { m_nOffset = (m_nOffset + 3) & ~size_t{3}; }

    std::wstring ReadWideString() {
        std::wstring text;
        for (;;) {
            WCHAR c = Read<WCHAR>();
            if (!m_bOk || c == 0)
                return text;
            text += c;
        }
    }

    // A name or a number: 0x0000 is none, 0xFFFF is followed by the number.
    std::string ReadNameOrOrdinal(bool bControlClass) {
        if (!Has(sizeof(WORD)))
            return {};
        WORD first;
        std::memcpy(&first, m_pData + m_nOffset, sizeof first);
        if (first == 0x0000) {
            m_nOffset += sizeof first;
            return {};
        }
        if (first == 0xFFFF) {
            m_nOffset += sizeof first;
            WORD ordinal = Read<WORD>();
            return bControlClass ? PredefinedClassName(ordinal) : "#" + std::to_string(ordinal);
        }
        return ToAnsi(ReadWideString());
    }

    void Skip(size_t cb) {
        if (Has(cb))
            m_nOffset += cb;
    }

private:
    bool Has(size_t cb) {
        if (m_bOk && m_nOffset <= m_cbSize && m_cbSize - m_nOffset >= cb)
            return true;
        m_bOk = false;
        return false;
    }

    static std::string PredefinedClassName(WORD ordinal) {
        switch (ordinal) {
        case 0x0080:
            return "Button";
        case 0x0081:
            return "Edit";
        case 0x0082:
            return "Static";
        case 0x0083:
            return "ListBox";
        case 0x0084:
            return "ScrollBar";
        case 0x0085:
            return "ComboBox";
        default:
            return "#" + std::to_string(ordinal);
        }
    }

    static std::string ToAnsi(const std::wstring& text) {
        if (text.empty())
            return {};
        int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
        std::string result(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                result.data(), n, nullptr, nullptr);
        return result;
    }

    const BYTE* m_pData;
    size_t m_cbSize;
    size_t m_nOffset = 0;
    bool m_bOk = true;
};

ControlTemplate ReadControl(TemplateCursor& cursor, bool bExtended) {
    ControlTemplate control;
    cursor.AlignToDword();
    if (bExtended) {
        cursor.Read<DWORD>(); // help id
        control.dwExStyle = cursor.Read<DWORD>();
        control.dwStyle = cursor.Read<DWORD>();
    } else {
        control.dwStyle = cursor.Read<DWORD>();
        control.dwExStyle = cursor.Read<DWORD>();
    }
    control.x = cursor.Read<short>();
    control.y = cursor.Read<short>();
    control.cx = cursor.Read<short>();
    control.cy = cursor.Read<short>();
    // The classic template has a 16-bit id, so -1 arrives as 0xFFFF.
    control.nId = bExtended ? static_cast<int>(cursor.Read<DWORD>())
                            : static_cast<short>(cursor.Read<WORD>());
    control.strClass = cursor.ReadNameOrOrdinal(true);
    control.strText = cursor.ReadNameOrOrdinal(false);
    cursor.Skip(cursor.Read<WORD>()); // creation data
    return control;
}

} // namespace

bool ReadDialogTemplate(const void* pData, size_t cbSize, DialogTemplate& result) {
    result = DialogTemplate{};
    TemplateCursor cursor(pData, cbSize);
    WORD wVersion = cursor.Read<WORD>();
    WORD wSignature = cursor.Read<WORD>();
    result.bExtended = wVersion == 1 && wSignature == 0xFFFF;
    WORD cItems;
    if (result.bExtended) {
        cursor.Read<DWORD>(); // help id
        result.dwExStyle = cursor.Read<DWORD>();
        result.dwStyle = cursor.Read<DWORD>();
    } else {
        cursor = TemplateCursor(pData, cbSize);
        result.dwStyle = cursor.Read<DWORD>();
        result.dwExStyle = cursor.Read<DWORD>();
    }
    cItems = cursor.Read<WORD>();
    result.x = cursor.Read<short>();
    result.y = cursor.Read<short>();
    result.cx = cursor.Read<short>();
    result.cy = cursor.Read<short>();
    result.strMenu = cursor.ReadNameOrOrdinal(false);
    result.strClass = cursor.ReadNameOrOrdinal(false);
    result.strCaption = cursor.ReadNameOrOrdinal(false);
    if (result.dwStyle & (DS_SETFONT | DS_SHELLFONT)) {
        result.wPointSize = cursor.Read<WORD>();
        if (result.bExtended) {
            result.wWeight = cursor.Read<WORD>();
            result.bItalic = cursor.Read<BYTE>();
            result.bCharSet = cursor.Read<BYTE>();
        }
        result.strTypeface = cursor.ReadNameOrOrdinal(false);
    }
    for (WORD i = 0; i < cItems && cursor.Ok(); ++i)
        result.controls.push_back(ReadControl(cursor, result.bExtended));
    return cursor.Ok();
}

bool LoadDialogTemplate(HMODULE hModule, UINT nId, DialogTemplate& result) {
    HRSRC hResource = FindResourceA(hModule, MAKEINTRESOURCEA(nId), RT_DIALOG);
    if (!hResource)
        return false;
    HGLOBAL hData = LoadResource(hModule, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData)
        return false;
    return ReadDialogTemplate(pData, SizeofResource(hModule, hResource), result);
}
