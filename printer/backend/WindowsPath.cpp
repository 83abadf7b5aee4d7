#include "printer/backend/WindowsPath.h"

#include "printer/backend/HexDigit.h"

namespace {

constexpr std::string_view URI_SCHEME = "quillon:";
// Besides control characters, what Windows does not allow in a file or folder name.
constexpr std::string_view FORBIDDEN_IN_NAMES = "<>:\"|?*";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool CheckComponent(const std::string& strComponent, std::string& strError) {
    if (strComponent.empty()) {
        strError = "the output path has an empty component";
        return false;
    }
    if (strComponent == "." || strComponent == "..") {
        strError = "the output path has a \".\" or \"..\" component";
        return false;
    }
    if (strComponent.back() == '.' || strComponent.back() == ' ') {
        strError = "a component of the output path ends in a dot or blank";
        return false;
    }
    for (char c : strComponent) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || FORBIDDEN_IN_NAMES.find(c) != std::string_view::npos) {
            strError = "the output path holds a character that is not allowed in names";
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<WindowsPath> SplitWindowsPath(std::string_view path, std::string& strError) {
    if (path.size() < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') {
        strError = "the output path is not absolute (drive letter, colon, backslash)";
        return std::nullopt;
    }
    WindowsPath result;
    result.cDrive = static_cast<char>(path[0] | 0x20);
    std::string strComponent;
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            strComponent.push_back(path[i]);
            continue;
        }
        if (!CheckComponent(strComponent, strError))
            return std::nullopt;
        result.components.push_back(strComponent);
        strComponent.clear();
    }
    return result;
}

std::optional<std::string> PrefixFromDeviceUri(std::string_view uri, std::string& strError) {
    if (uri.substr(0, URI_SCHEME.size()) != URI_SCHEME) {
        strError = "the device URI does not start with \"quillon:\"";
        return std::nullopt;
    }
    std::string_view rest = uri.substr(URI_SCHEME.size());
    if (rest.substr(0, 2) == "//") {
        // Only an empty host is meaningful: the prefix is on this machine.
        rest.remove_prefix(2);
        if (rest.empty() || rest[0] != '/') {
            strError = "the device URI names a host";
            return std::nullopt;
        }
    }
    std::string strPrefix;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            strPrefix.push_back(rest[i]);
            continue;
        }
        const int nHigh = i + 2 < rest.size() ? HexDigit(rest[i + 1]) : -1;
        const int nLow = i + 2 < rest.size() ? HexDigit(rest[i + 2]) : -1;
        if (nHigh < 0 || nLow < 0 || (nHigh == 0 && nLow == 0)) {
            strError = "the device URI has a broken %-escape";
            return std::nullopt;
        }
        strPrefix.push_back(static_cast<char>(nHigh * 16 + nLow));
        i += 2;
    }
    if (strPrefix.empty() || strPrefix[0] != '/') {
        strError = "the device URI does not name an absolute Wine prefix path";
        return std::nullopt;
    }
    return strPrefix;
}
