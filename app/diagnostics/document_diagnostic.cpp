#include "app/diagnostics/document_diagnostic.h"

#include <objbase.h>

#include <span>
#include <string_view>

#include "app/app/document.h"
#include "app/diagnostics/report_file.h"
#include "app/image/image_decoder.h"
#include "app/lib/atomic_write.h"
#include "app/lib/start_with_windows.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/editor/capture_start.h"
#include "core/editor/gestures.h"
#include "core/editor/selection_edits.h"
#include "core/vexil/document.h"
#include "text/app_error.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kScreenWidth = 320, kScreenHeight = 200;
constexpr Box kRegion{40, 30, 280, 170};

// Every column and row tells itself apart, so a frame moved or cut shows.
BgraImage synthetic_screen() {
    BgraImage screen{std::vector<std::uint8_t>(std::size_t{kScreenWidth} * kScreenHeight * 4), kScreenWidth,
                     kScreenHeight};
    for (std::uint32_t y = 0; y < kScreenHeight; ++y)
        for (std::uint32_t x = 0; x < kScreenWidth; ++x) {
            std::uint8_t* p = &screen.pixels[(std::size_t{y} * kScreenWidth + x) * 4];
            p[0] = static_cast<std::uint8_t>(x % 256);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = 0x5A;
            p[3] = 0xFF;
        }
    return screen;
}

Result<std::wstring> current_directory() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return win::self_check_failure("GetCurrentDirectoryW");
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    if (written == 0 || written >= length) return win::self_check_failure("GetCurrentDirectoryW");
    folder.resize(written);
    return folder;
}

bool same_pixels(const BgraImage& a, const BgraImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

Status store_document(EditorState& state, const BgraImage& screen, const std::wstring& path) {
    auto picture = render_edited_capture(state);
    if (!picture) return std::move(picture).failure();
    auto bytes = encode_vexil_document(state, screen, ScreenOrigin{0, 0}, *picture);
    if (!bytes) return std::move(bytes).failure();
    auto written = write_file_atomically(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path, false);
    if (!written) return std::move(written).failure();
    return ok_status();
}

// What the file holds now against the state edited here; the size read back.
Result<std::size_t> compare_document(EditorState& state, const BgraImage& screen, const std::wstring& path) {
    auto file = win::read_file_if_exists(path, kMaxDocumentBytes);
    if (!file) return std::move(file).failure();
    if (!*file) return win::win32_failure_code(ERROR_FILE_NOT_FOUND, "ReadFile", path);
    const std::string& data = **file;
    auto document = read_vexil_document(std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    if (!document) return std::move(document).failure();

    if (document->scene.objects != state.objects || !(document->scene.region == kRegion))
        return plain_failure("The saved document does not hold the edited objects");
    auto frame = decode_png_bytes(document->frame_png, kScreenWidth, kScreenHeight);
    if (!frame || !same_pixels(*frame, screen)) return plain_failure("The saved document does not hold the original screen");
    auto shown = load_image_file(path);
    auto edited = render_edited_capture(state);
    if (!edited) return std::move(edited).failure();
    if (!shown || !same_pixels(*shown, *edited)) return plain_failure("A viewer would not show the edited capture");
    return data.size();
}

Status run_check() {
    auto folder = current_directory();
    if (!folder) return std::move(folder).failure();
    const std::wstring path = win::join_path(win::join_path(*folder, L"target"), L"glimmerly-document.vexil");

    const BgraImage screen = synthetic_screen();
    EditorState state = new_capture_state(screen, {});
    state.capture_selection = kRegion;
    state.tool = Tool::Rectangle;
    begin_gesture(state, {60, 50}, {});
    continue_gesture(state, {140, 110});
    finish_gesture(state);
    if (!state.capture_selection) return make_app_error(TextId::error_no_region);
    GLIM_TRY(store_document(state, screen, path));

    auto program = running_program_path();
    if (!program) return std::move(program).failure();
    GLIM_TRY(run_document_probe_process(*program, path, kDocumentProbeTimeoutMs));

    if (!state.objects.empty()) {
        state.selection = {state.objects.front().id};
        nudge_selection(state, {1.0, 0.0});
    }
    auto size = compare_document(state, screen, path);
    if (!size) return std::move(size).failure();
    return write_report_file(L"target\\document-diagnostics.txt",
                             "PASS: a " + std::to_string(*size) +
                                 " byte document reopened by its launch path, edited, saved and read back.");
}

}  // namespace

Result<BgraImage> render_edited_capture(EditorState& state) {
    if (!state.capture_selection) return make_app_error(TextId::error_no_region);
    std::unique_ptr<RendererResources>& resources = editor_window_part(state).renderer.resources;
    if (!resources) {
        auto made = create_renderer_resources(false, false);
        if (!made) return std::move(made).failure();
        resources = std::move(*made);
    }
    return render_capture_region(*resources, state.frozen_frame, state.background, state.objects,
                                 *state.capture_selection);
}

Status run_document_probe_process(const std::wstring& program, const std::wstring& document, DWORD timeout_ms) {
    // The program's own path, quoted, comes first, so that the document is
    // the first argument whatever spaces either path holds.
    std::wstring command = L"\"" + program + L"\" \"" + document + L"\" --document-probe";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return win::self_check_failure("CreateProcessW", program);
    win::UniqueHandle process(started.hProcess), thread(started.hThread);
    const Failure did_not_leave = plain_failure("The reopened document did not save and leave");
    const DWORD waited = WaitForSingleObject(process.get(), timeout_ms);
    if (waited == WAIT_TIMEOUT) {
        // A probe stopped by a box would wait for ever, holding its window over the screen.
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
        return did_not_leave;
    }
    if (waited != WAIT_OBJECT_0) return win::self_check_failure("WaitForSingleObject", program);
    DWORD code = 1;
    if (!GetExitCodeProcess(process.get(), &code)) return win::self_check_failure("GetExitCodeProcess", program);
    if (code != 0) return did_not_leave;
    return ok_status();
}

Status run_document_diagnostic() {
    // Worker threads, the blur's among them, join this apartment.
    CO_MTA_USAGE_COOKIE cookie{};
    (void)CoIncrementMTAUsage(&cookie);
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    GLIM_TRY(apartment.status());
    return run_check();
}

}  // namespace glimmerly
