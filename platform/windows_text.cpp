#include "platform/windows_text.h"

#include "base/utf8.h"
#include "platform/win32_api.h"

namespace vidorun {

std::wstring wide(std::string_view utf8)
{
    const std::u16string text = toUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string narrow(std::wstring_view text)
{
    return fromUtf16(std::u16string_view(reinterpret_cast<const char16_t *>(text.data()), text.size()));
}

std::wstring widePath(std::string_view utf8)
{
    std::wstring path = wide(utf8);
    for (wchar_t &c : path)
        c = c == L'/' ? L'\\' : c;
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
        return path;
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

std::string systemReason(unsigned long error)
{
    wchar_t *text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string reason = length ? narrow(std::wstring_view(text, length)) : "system error " + std::to_string(error);
    ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

}  // namespace vidorun
