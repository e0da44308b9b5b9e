#pragma once
// The Save dialog of a capture: the platform's FileSaveDialog with the three
// file types, the remembered folder (or the Desktop), a proposed numbered
// name, and an events object of the program's own that centres the dialog on
// the monitor under the pointer and keeps the name in step with the chosen
// type and folder. Modal to the editor window, on its thread.

#include <shobjidl.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/win/com.h"
#include "core/base/result.h"
#include "core/paths/path_names.h"

namespace glimmerly {

// The remembered folder when it still is a folder, else the Desktop.
Result<std::wstring> save_folder_or_desktop(std::wstring_view remembered);

// The name the dialog's name box should hold for the type (SAVE_TYPE_*) in
// that folder; none to leave the name as it is (also when the folder cannot
// be listed).
std::optional<std::wstring> file_name_for_type(std::wstring_view name, std::wstring_view folder, std::uint32_t type);

// Sets the default extension of the chosen type and brings the name in step
// with it and with the folder shown.
Status sync_save_dialog_name(IFileDialog& dialog);

// The dialog's events: centring once on the first folder shown, and
// sync_save_dialog_name on every change of folder or type. Errors inside are
// swallowed: a dialog must not fail because of its decoration.
class SaveDialogEvents final : public IFileDialogEvents {
public:
    // Made with one reference, which the caller adopts.
    static win::ComPtr<SaveDialogEvents> create(POINT anchor);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* dialog) override;
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE* response) override;
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog* dialog) override;
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE* response) override;

private:
    explicit SaveDialogEvents(POINT anchor) : anchor_(anchor) {}
    ~SaveDialogEvents() = default;
    void centre(IFileDialog& dialog) const noexcept;

    LONG references_ = 1;
    POINT anchor_;
    bool placed_ = false;
};

// A dialog ready to be shown, with its events advised.
struct PreparedSaveDialog {
    win::ComPtr<IFileSaveDialog> dialog;
    win::ComPtr<SaveDialogEvents> events;
    DWORD cookie = 0;

    PreparedSaveDialog() = default;
    PreparedSaveDialog(PreparedSaveDialog&&) noexcept;
    PreparedSaveDialog& operator=(PreparedSaveDialog&&) = delete;
    ~PreparedSaveDialog();  // unadvises
};

// Everything before the dialog shows: the folder (remembered or the
// Desktop), the proposed numbered name of the format, the three types with
// the format's chosen, the options, and the events anchored at the pointer.
// A failure to find the folder or the name is returned as it is, and so is
// a failure of the dialog itself, with the dialog's HRESULT.
Result<PreparedSaveDialog> prepare_save_dialog(std::wstring_view remembered_folder, ImageFormat format);

struct SaveDialogChoice {
    std::wstring path;
    std::uint32_t type = 0;  // SAVE_TYPE_*, as the dialog counts its types
};

// Shows the Save dialog modal to `owner`; none when the user cancelled. A
// failure to find the folder or the name is returned as it is; a dialog that
// fails is "error.save_dialog" with its HRESULT as the code ("0x8007000e").
Result<std::optional<SaveDialogChoice>> run_save_dialog(HWND owner, std::wstring_view remembered_folder,
                                                        ImageFormat format);

}  // namespace glimmerly
