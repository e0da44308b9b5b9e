#include "app/session/save_dialog.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <new>

#include "app/lib/folder_tree.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/base/pixel_rect.h"
#include "core/paths/save_types.h"
#include "text/app_error.h"
#include "text/text_table.h"

namespace glimmerly {

using win::ComPtr;
using win::hr_failure;

namespace {

// A string the shell allocated, freed with CoTaskMemFree.
class CoTaskString {
public:
    CoTaskString() = default;
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;
    ~CoTaskString() { CoTaskMemFree(text_); }
    PWSTR* put() noexcept { return &text_; }
    std::wstring str() const { return text_ ? std::wstring(text_) : std::wstring(); }

private:
    PWSTR text_ = nullptr;
};

bool is_folder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Result<std::wstring> display_path(IShellItem& item) {
    CoTaskString path;
    const HRESULT hr = item.GetDisplayName(SIGDN_FILESYSPATH, path.put());
    if (FAILED(hr)) return hr_failure(hr, "IShellItem::GetDisplayName");
    return path.str();
}

constexpr DWORD kSaveOptions = FOS_OVERWRITEPROMPT | FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST;

Status set_up(IFileSaveDialog& dialog, const std::wstring& folder, const std::wstring& name, ImageFormat format) {
    const Language language = current_language();
    const std::wstring png = win::to_wide(localized_text(language, TextId::save_png));
    const std::wstring jpeg = win::to_wide(localized_text(language, TextId::save_jpeg));
    const std::wstring document = win::to_wide(localized_text(language, TextId::save_vexil));
    const COMDLG_FILTERSPEC types[] = {
        {png.c_str(), L"*.png"}, {jpeg.c_str(), L"*.jpg;*.jpeg"}, {document.c_str(), L"*.vexil"}};
    HRESULT hr = dialog.SetFileTypes(3, types);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetFileTypes");
    hr = dialog.SetFileTypeIndex(save_type_of(format));
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetFileTypeIndex");
    hr = dialog.SetDefaultExtension(format == ImageFormat::Jpeg ? L"jpg" : L"png");
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetDefaultExtension");

    ComPtr<IShellItem> folder_item;
    hr = SHCreateItemFromParsingName(folder.c_str(), nullptr, __uuidof(IShellItem), folder_item.put_void());
    if (FAILED(hr)) return hr_failure(hr, "SHCreateItemFromParsingName");
    hr = dialog.SetFolder(folder_item.get());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetFolder");
    hr = dialog.SetFileName(name.c_str());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetFileName");

    FILEOPENDIALOGOPTIONS options = 0;
    hr = dialog.GetOptions(&options);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::GetOptions");
    hr = dialog.SetOptions(options | kSaveOptions);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetOptions");
    return ok_status();
}

Result<SaveDialogChoice> read_choice(IFileSaveDialog& dialog) {
    ComPtr<IShellItem> item;
    HRESULT hr = dialog.GetResult(item.put());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::GetResult");
    if (!item) return hr_failure(E_POINTER, "IFileDialog::GetResult");
    auto path = display_path(*item.get());
    if (!path) return std::move(path).failure();
    UINT type = 0;
    hr = dialog.GetFileTypeIndex(&type);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::GetFileTypeIndex");
    return SaveDialogChoice{std::move(*path), type};
}

}  // namespace

Result<std::wstring> save_folder_or_desktop(std::wstring_view remembered) {
    const std::wstring folder(remembered);
    if (!folder.empty() && is_folder(folder)) return folder;
    CoTaskString desktop;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, desktop.put());
    if (FAILED(hr)) return hr_failure(hr, "SHGetKnownFolderPath");
    return desktop.str();
}

std::optional<std::wstring> file_name_for_type(std::wstring_view name, std::wstring_view folder, std::uint32_t type) {
    const bool names_folder = !name.empty() && is_folder(win::join_path(folder, name));
    SaveNameChange change = save_name_change(win::to_u16(name), type, names_folder);
    if (change.action == SaveNameAction::Keep) return std::nullopt;
    if (change.action == SaveNameAction::Rename) return win::from_u16(change.name);
    // Numbered names of every kind share one sequence: the PNG name's number
    // serves each type.
    const auto next = next_free_file_name(std::wstring(folder), ImageFormat::Png);
    if (!next) return std::nullopt;
    return win::from_u16(with_extension(file_name_of(win::to_u16(*next)), save_type_extension(type)));
}

Status sync_save_dialog_name(IFileDialog& dialog) {
    UINT type = 0;
    HRESULT hr = dialog.GetFileTypeIndex(&type);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::GetFileTypeIndex");
    const std::wstring extension = win::from_u16(save_type_extension(type));
    hr = dialog.SetDefaultExtension(extension.c_str());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetDefaultExtension");

    ComPtr<IShellItem> folder_item;
    if (FAILED(dialog.GetFolder(folder_item.put())) || !folder_item) return ok_status();
    auto folder = display_path(*folder_item.get());
    if (!folder) return std::move(folder).failure();
    CoTaskString name;
    hr = dialog.GetFileName(name.put());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::GetFileName");
    const auto renamed = file_name_for_type(name.str(), *folder, type);
    if (!renamed) return ok_status();
    hr = dialog.SetFileName(renamed->c_str());
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::SetFileName");
    return ok_status();
}

win::ComPtr<SaveDialogEvents> SaveDialogEvents::create(POINT anchor) {
    return win::ComPtr<SaveDialogEvents>::adopt(new SaveDialogEvents(anchor));
}

HRESULT SaveDialogEvents::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IFileDialogEvents))) {
        *out = static_cast<IFileDialogEvents*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG SaveDialogEvents::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG SaveDialogEvents::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT SaveDialogEvents::OnFolderChange(IFileDialog* dialog) {
    if (!dialog) return E_POINTER;
    if (!placed_) {
        // Marked first: a centring that fails is not tried at every folder.
        placed_ = true;
        centre(*dialog);
    }
    try {
        (void)sync_save_dialog_name(*dialog);
    } catch (...) {
    }
    return S_OK;
}

HRESULT SaveDialogEvents::OnTypeChange(IFileDialog* dialog) {
    if (!dialog) return E_POINTER;
    try {
        (void)sync_save_dialog_name(*dialog);
    } catch (...) {
    }
    return S_OK;
}

HRESULT SaveDialogEvents::OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE* response) {
    if (response) *response = FDESVR_DEFAULT;
    return S_OK;
}

HRESULT SaveDialogEvents::OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE* response) {
    if (response) *response = FDEOR_DEFAULT;
    return S_OK;
}

// On the monitor where the pointer was when the user asked to save, not
// wherever the platform puts a dialog owned by an editor window that spans
// every monitor.
void SaveDialogEvents::centre(IFileDialog& dialog) const noexcept {
    ComPtr<IOleWindow> ole;
    HWND window = nullptr;
    if (FAILED(dialog.QueryInterface(__uuidof(IOleWindow), ole.put_void())) || !ole ||
        FAILED(ole->GetWindow(&window)) || !window)
        return;
    MONITORINFO monitor{sizeof monitor};
    RECT rect{};
    if (!GetMonitorInfoW(MonitorFromPoint(anchor_, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(window, &rect))
        return;
    const RECT& work = monitor.rcWork;
    const PixelPoint at = centred_in({work.left, work.top, work.right, work.bottom}, rect.right - rect.left,
                                     rect.bottom - rect.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

PreparedSaveDialog::PreparedSaveDialog(PreparedSaveDialog&& other) noexcept
    : dialog(std::move(other.dialog)), events(std::move(other.events)), cookie(std::exchange(other.cookie, 0)) {}

PreparedSaveDialog::~PreparedSaveDialog() {
    if (dialog && cookie) dialog->Unadvise(cookie);
}

namespace {

// The dialog's made in two steps: what it proposes, whose failures are the
// folder's or the file names' own, and the dialog itself.
Result<PreparedSaveDialog> open_save_dialog(const std::wstring& folder, const std::wstring& proposed,
                                            ImageFormat format) {
    POINT anchor{};
    if (!GetCursorPos(&anchor)) anchor = POINT{};
    PreparedSaveDialog prepared;
    auto dialog = win::create_instance<IFileSaveDialog>(CLSID_FileSaveDialog);
    if (!dialog) return std::move(dialog).failure();
    prepared.dialog = std::move(*dialog);
    GLIM_TRY(set_up(*prepared.dialog.get(), folder, win::from_u16(file_name_of(win::to_u16(proposed))), format));
    try {
        prepared.events = SaveDialogEvents::create(anchor);
    } catch (const std::bad_alloc&) {
        return out_of_memory("The Save dialog's events");
    }
    const HRESULT hr = prepared.dialog->Advise(prepared.events.get(), &prepared.cookie);
    if (FAILED(hr)) return hr_failure(hr, "IFileDialog::Advise");
    return prepared;
}

// Nothing of a dialog that would not open can be shown but its code.
Failure save_dialog_failure(const Failure& cause) {
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(cause.code));
    return make_app_error(TextId::error_save_dialog, {{"code", code}});
}

}  // namespace

Result<PreparedSaveDialog> prepare_save_dialog(std::wstring_view remembered_folder, ImageFormat format) {
    auto folder = save_folder_or_desktop(remembered_folder);
    if (!folder) return std::move(folder).failure();
    auto proposed = next_free_file_name(*folder, format);
    if (!proposed) return std::move(proposed).failure();
    return open_save_dialog(*folder, *proposed, format);
}

Result<std::optional<SaveDialogChoice>> run_save_dialog(HWND owner, std::wstring_view remembered_folder,
                                                        ImageFormat format) {
    auto folder = save_folder_or_desktop(remembered_folder);
    if (!folder) return std::move(folder).failure();
    auto proposed = next_free_file_name(*folder, format);
    if (!proposed) return std::move(proposed).failure();
    auto prepared = open_save_dialog(*folder, *proposed, format);
    if (!prepared) return save_dialog_failure(prepared.failure());
    const HRESULT shown = prepared->dialog->Show(owner);
    prepared->dialog->Unadvise(prepared->cookie);
    prepared->cookie = 0;
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::optional<SaveDialogChoice>();
    if (FAILED(shown)) return save_dialog_failure(hr_failure(shown, "IModalWindow::Show"));
    auto choice = read_choice(*prepared->dialog.get());
    if (!choice) return save_dialog_failure(choice.failure());
    return std::optional<SaveDialogChoice>(std::move(*choice));
}

}  // namespace glimmerly
