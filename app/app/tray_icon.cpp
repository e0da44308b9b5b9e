#include "app/app/tray_icon.h"

#include "app/app/messages.h"
#include "app/win/failure.h"
#include "core/base/utf.h"

namespace glimmerly {

void destroy_owned_window(HWND window) noexcept {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyWindow(window);
}

std::array<wchar_t, 128> copy_to_tip_buffer(std::string_view utf8) {
    std::array<wchar_t, 128> tip{};
    const std::u16string wide = utf8_to_utf16_lossy(utf8);
    const std::u16string_view kept = utf16_prefix(wide, tip.size() - 1);
    std::copy(kept.begin(), kept.end(), tip.begin());
    return tip;
}

Result<HICON> load_small_app_icon(HINSTANCE instance) {
    HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(APP_ICON_RESOURCE), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (!icon) return win::win32_failure("LoadImageW", L"small icon");
    return static_cast<HICON>(icon);
}

NOTIFYICONDATAW make_icon_data(HWND window, HICON icon, std::string_view tip) {
    static_assert(sizeof(NOTIFYICONDATAW) == 976, "the shell expects the full current record");
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP_TRAY;
    data.hIcon = icon;
    const auto buffer = copy_to_tip_buffer(tip);
    std::copy(buffer.begin(), buffer.end(), data.szTip);
    return data;
}

Status add_tray_icon(const NOTIFYICONDATAW& data) {
    NOTIFYICONDATAW copy = data;
    if (!Shell_NotifyIconW(NIM_ADD, &copy)) return plain_failure("Cannot create the notification icon");
    return ok_status();
}

void modify_tray_icon(NOTIFYICONDATAW& data, std::string_view tip) {
    const auto buffer = copy_to_tip_buffer(tip);
    std::copy(buffer.begin(), buffer.end(), data.szTip);
    if (data.hWnd) Shell_NotifyIconW(NIM_MODIFY, &data);
}

UINT taskbar_created_message() {
    // The same value for the whole session: looked up once.
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace glimmerly
