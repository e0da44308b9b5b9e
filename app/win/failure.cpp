#include "app/win/failure.h"

#include "core/base/utf.h"

namespace glimmerly::win {

std::wstring to_wide(std::string_view utf8) {
    const std::u16string wide = utf8_to_utf16_lossy(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string to_utf8(std::wstring_view wide) {
    return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string system_message(std::int32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length && buffer) text.assign(buffer, length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return to_utf8(text);
}

namespace {

struct CodeWords {
    HRESULT code;
    const char* words;
};

// Codes a damaged or unusual picture brings, and the drawing codes a
// failure can carry up to the user.
constexpr CodeWords kOwnWords[] = {
    {WINCODEC_ERR_COMPONENTNOTFOUND, "No decoder reads this file: it is not a picture, or it is damaged"},
    {WINCODEC_ERR_UNKNOWNIMAGEFORMAT, "The picture's format is unknown"},
    {WINCODEC_ERR_BADIMAGE, "The picture is damaged"},
    {WINCODEC_ERR_BADHEADER, "The picture's header is damaged"},
    {WINCODEC_ERR_BADSTREAMDATA, "The picture's data is damaged"},
    {WINCODEC_ERR_FRAMEMISSING, "The picture has no frame"},
    {WINCODEC_ERR_BADMETADATAHEADER, "The picture's metadata is damaged"},
    {WINCODEC_ERR_STREAMREAD, "The picture could not be read"},
    {WINCODEC_ERR_STREAMWRITE, "The picture could not be written"},
    {WINCODEC_ERR_STREAMNOTAVAILABLE, "The picture's file is not available"},
    {WINCODEC_ERR_IMAGESIZEOUTOFRANGE, "The picture is too large"},
    {WINCODEC_ERR_VALUEOUTOFRANGE, "A value of the picture is out of range"},
    {WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, "The picture's pixel format is not supported"},
    {WINCODEC_ERR_UNSUPPORTEDOPERATION, "The imaging component does not support this operation"},
    {WINCODEC_ERR_UNSUPPORTEDVERSION, "The picture's version is not supported"},
    {WINCODEC_ERR_CODECTOOMANYSCANLINES, "The picture gave more rows than it has"},
    {WINCODEC_ERR_WRONGSTATE, "The imaging component was called in the wrong order"},
    {WINCODEC_ERR_INTERNALERROR, "The imaging component failed inside"},
    {WINCODEC_ERR_INSUFFICIENTBUFFER, "The buffer for the picture is too small"},
    {D2DERR_RECREATE_TARGET, "The drawing surface was lost and must be made again"},
    {D2DERR_WRONG_STATE, "Drawing was called in the wrong order"},
};

std::string hex_code(std::int32_t code) {
    char hex[16];
    wsprintfA(hex, "0x%08X", static_cast<unsigned>(code));
    return hex;
}

std::string describe(std::int32_t code, std::string_view what, std::string_view detail) {
    std::string message(what);
    if (!detail.empty()) {
        message += ' ';
        message += detail;
    }
    if (!message.empty()) message += ": ";
    return message + code_text(code);
}

}  // namespace

std::string code_text(std::int32_t code) {
    std::string system = system_message(code);
    if (!system.empty()) return system;
    for (const CodeWords& own : kOwnWords)
        if (static_cast<std::int32_t>(own.code) == code) return std::string(own.words) + " (" + hex_code(code) + ")";
    return "An error the system does not describe (" + hex_code(code) + ")";
}

Failure win32_failure_code(DWORD error, std::string_view what, std::wstring_view subject) {
    // A failing call that did not set an error still failed.
    const std::int32_t code = error ? hresult_from_win32(error) : E_FAIL_CODE;
    return Failure{code, describe(code, what, to_utf8(subject))};
}

Failure win32_failure(std::string_view what, std::wstring_view subject) {
    const DWORD error = GetLastError();
    return win32_failure_code(error, what, subject);
}

Failure self_check_failure(std::string_view what, std::wstring_view subject) {
    const DWORD error = GetLastError();
    if (error != 0) return win32_failure_code(error, what, subject);
    std::string message(what);
    if (!subject.empty()) message += " " + to_utf8(subject);
    return Failure{kNoSystemErrorCode, message + " failed without an error code"};
}

Failure hr_failure(HRESULT hr, std::string_view what) {
    const std::int32_t code = FAILED(hr) ? static_cast<std::int32_t>(hr) : E_FAIL_CODE;
    return Failure{code, describe(code, what, {})};
}

}  // namespace glimmerly::win
