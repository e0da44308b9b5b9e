#include "app/app/editor_process.h"

#include <string>
#include <vector>

#include "app/app/app.h"
#include "app/app/capture_start.h"
#include "app/app/messages.h"
#include "app/lib/start_with_windows.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

struct AttributeList {
    std::vector<std::byte> storage;
    bool initialised = false;
    LPPROC_THREAD_ATTRIBUTE_LIST get() { return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data()); }
    ~AttributeList() {
        if (initialised) DeleteProcThreadAttributeList(get());
    }
};

// One attribute: the job the child is born in, so that no moment exists in
// which it runs outside it.
Status make_job_attribute(AttributeList& list, HANDLE* job) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);  // only asks the size
    list.storage.resize(size);
    if (!InitializeProcThreadAttributeList(list.get(), 1, 0, &size))
        return win::win32_failure("InitializeProcThreadAttributeList");
    list.initialised = true;
    if (!UpdateProcThreadAttribute(list.get(), 0, PROC_THREAD_ATTRIBUTE_JOB_LIST, job, sizeof(HANDLE), nullptr,
                                   nullptr))
        return win::win32_failure("UpdateProcThreadAttribute");
    return ok_status();
}

// Lets the child take the foreground and posts it the capture; a child that
// cannot take the message is ended, and its exit asks for the capture again,
// as the request stays outstanding until the child acknowledges it.
void request_editor_capture(EditorProcess& child) {
    AllowSetForegroundWindow(child.process_id);
    if (PostMessageW(child.editor_window, WM_APP_START_CAPTURE, 0, 0)) return;
    TerminateJobObject(child.job.get(), 1);
}

bool editor_has_ended(const EditorProcess& child) {
    return WaitForSingleObject(child.process.get(), 0) == WAIT_OBJECT_0;
}

// What follows the linked child's exit, once the exit is certain.
Status follow_editor_exit(App& app, HWND window, AfterEditorExit next) {
    switch (next) {
        case AfterEditorExit::CaptureAgain: return start_capture_session(app, window);
        case AfterEditorExit::PrepareNext: prepare_editor_process(app, window); return ok_status();
        case AfterEditorExit::ReportStartFailure: return make_app_error(TextId::error_editor_start);
        case AfterEditorExit::Nothing: return ok_status();
    }
    return ok_status();
}

Status settle_editor_exit(App& app, HWND window) {
    DWORD code = 0;
    if (!GetExitCodeProcess(app.editor->process.get(), &code)) return win::win32_failure("GetExitCodeProcess");
    const AfterEditorExit next = after_editor_exit(app.editor->link, code);
    app.editor.reset();
    // Presentation comes back before a capture asked for again pauses it anew.
    Status resumed;
    if (app.presentation)
        if (auto presentation = app.presentation->try_borrow()) resumed = resume_presentation(*presentation);
    Status followed = follow_editor_exit(app, window, next);
    return resumed ? std::move(followed) : std::move(resumed);
}

Result<EditorProcess> try_start_editor_process(HWND owner, bool prepared, std::wstring_view extra,
                                               const EditorStarter& starter) {
    auto program = starter.program.empty() ? running_program_path() : Result<std::wstring>(starter.program);
    if (!program) return std::move(program).failure();
    std::wstring command = win::from_u16(editor_command_line(
        win::to_u16(*program), reinterpret_cast<std::uintptr_t>(owner), prepared, win::to_u16(extra)));

    EditorProcess child;
    child.link.prepared = prepared;
    child.job.reset(CreateJobObjectW(nullptr, nullptr));
    if (!child.job) return win::win32_failure("CreateJobObjectW");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    if (!SetInformationJobObject(child.job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return win::win32_failure("SetInformationJobObject");
    AttributeList attributes;
    HANDLE job = child.job.get();
    GLIM_TRY(make_job_attribute(attributes, &job));

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = attributes.get();
    PROCESS_INFORMATION info{};
    if (!starter.create_process(program->c_str(), command.data(), nullptr, nullptr, FALSE,
                                CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                &startup.StartupInfo, &info))
        return win::win32_failure("CreateProcessW", *program);
    CloseHandle(info.hThread);
    child.process.reset(info.hProcess);
    child.process_id = info.dwProcessId;
    return child;
}

void end_prepare_retries(App& app, HWND window) {
    if (app.prepare_retry_ms == 0) return;
    KillTimer(window, TIMER_PREPARE_EDITOR);
    app.prepare_retry_ms = 0;
}

}  // namespace

Result<EditorProcess> start_editor_process(HWND owner, bool prepared, std::wstring_view extra,
                                           const EditorStarter& starter) {
    auto started = try_start_editor_process(owner, prepared, extra, starter);
    for (int tries = 1; !started && tries < kEditorStartTries; ++tries)
        started = try_start_editor_process(owner, prepared, extra, starter);
    return started;
}

void prepare_editor_process(App& app, HWND window) {
    if (!app.editor) {
        auto started = start_editor_process(window, true, {}, app.editor_starter);
        if (!started) {
            // Nobody waits for this child, so nothing is shown; without
            // another try the resident would wait for the next capture
            // with none, and that capture would pay for a cold start.
            app.prepare_retry_ms = next_prepare_retry_ms(app.prepare_retry_ms);
            SetTimer(window, TIMER_PREPARE_EDITOR, app.prepare_retry_ms, nullptr);
            return;
        }
        app.editor = std::move(*started);
    }
    end_prepare_retries(app, window);
}

void retry_prepare_editor_process(App& app, HWND window) {
    KillTimer(window, TIMER_PREPARE_EDITOR);
    prepare_editor_process(app, window);
}

Status ask_editor_for_capture(App& app, HWND window) {
    // A child that has ended may still have a window that takes the post,
    // and its exit message may still be on its way: what its exit means is
    // settled first, and the request goes to whichever child follows.
    if (app.editor && editor_has_ended(*app.editor)) GLIM_TRY(settle_editor_exit(app, window));
    // The frozen screen must not show the presentation's windows: they go
    // before the child grabs it, and come back when the capture ends.
    auto presentation = app.presentation ? app.presentation->try_borrow() : PresentationCell::Borrow();
    if (presentation) (void)suspend_presentation(*presentation);
    if (!app.editor) {
        auto started = start_editor_process(window, false, {}, app.editor_starter);
        if (!started) {
            if (presentation) (void)resume_presentation(*presentation);
            return std::move(started).failure();
        }
        app.editor = std::move(*started);
    }
    EditorProcess& child = *app.editor;
    AllowSetForegroundWindow(child.process_id);
    switch (ask_for_capture(child.link)) {
        case CaptureAsk::WaitForReady: break;
        case CaptureAsk::Post: request_editor_capture(child); break;
        case CaptureAsk::BringForward: PostMessageW(child.editor_window, WM_APP_START_CAPTURE, 0, 0); break;
    }
    return ok_status();
}

void acknowledge_capture_request(const App& app) {
    if (app.in_process_editor && app.notification_owner)
        PostMessageW(app.notification_owner, WM_APP_CAPTURE_TAKEN, GetCurrentProcessId(), 0);
}

Result<win::UniqueHandle> open_editor_owner(HWND owner) {
    const auto refused = [owner] {
        return invalid_input("The editor's owner " + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) +
                             " is not another program's window");
    };
    for (const HWND pseudo : {HWND_BROADCAST, HWND_TOPMOST, HWND_NOTOPMOST, HWND_MESSAGE, HWND_BOTTOM})
        if (owner == pseudo) return refused();
    DWORD process_id = 0;
    if (!IsWindow(owner) || !GetWindowThreadProcessId(owner, &process_id) || process_id == GetCurrentProcessId())
        return refused();
    win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
    if (!process) return win::win32_failure("OpenProcess", std::to_wstring(process_id));
    // The window outlived the opening: the process is its own, not a later
    // one that took over the number.
    if (!IsWindow(owner)) return refused();
    return process;
}

HANDLE owner_exit_to_watch(const App& app) { return app.owner_process.get(); }

void follow_owner_exit(App& app) {
    app.owner_process.reset();
    if (!app.capture_session) PostQuitMessage(0);
}

Status handle_capture_taken(App& app, WPARAM process_id) {
    if (app.editor && process_id == app.editor->process_id) (void)acknowledge_capture(app.editor->link);
    return ok_status();
}

Status handle_editor_ready(App& app, HWND, WPARAM process_id, LPARAM editor_window) {
    if (!app.editor || process_id != app.editor->process_id) return ok_status();
    EditorProcess& child = *app.editor;
    const HWND window = reinterpret_cast<HWND>(editor_window);
    DWORD window_process = 0;
    GetWindowThreadProcessId(window, &window_process);
    if (window_process != child.process_id || WaitForSingleObject(child.process.get(), 0) != WAIT_TIMEOUT)
        return ok_status();
    const bool was_started = child.link.state == EditorLinkState::Started;
    const bool capture_waits = link_ready_child(child.link);
    if (was_started && child.link.state != EditorLinkState::Started) child.editor_window = window;
    if (capture_waits) request_editor_capture(child);
    return ok_status();
}

Status handle_editor_exited(App& app, HWND window, WPARAM process_id, LPARAM) {
    if (!app.editor || process_id != app.editor->process_id) return ok_status();
    // The exit code is read here, from the process itself: a stale message
    // about a child that still runs changes nothing.
    if (!editor_has_ended(*app.editor)) return ok_status();
    return settle_editor_exit(app, window);
}

// Waited on by the loop rather than by a thread of its own: under Wine every
// thread keeps about 1 MiB of touched pages whatever its stack, as much again
// as the rest of the idle resident's growth.
HANDLE editor_exit_to_watch(const App& app) {
    return app.editor && !app.editor->exit_posted ? app.editor->process.get() : nullptr;
}

void post_editor_exit(App& app, HWND window) {
    if (!app.editor || app.editor->exit_posted) return;
    DWORD code = 1;
    if (!GetExitCodeProcess(app.editor->process.get(), &code)) code = 1;
    app.editor->exit_posted = PostMessageW(window, WM_APP_EDITOR_EXITED, app.editor->process_id,
                                           static_cast<LPARAM>(code)) != FALSE;
}

bool editor_capture_busy(const App& app) {
    return app.editor && (app.editor->link.state == EditorLinkState::Capturing || app.editor->link.capture_requested);
}

void restart_prepared_editor(App& app, HWND window) {
    if (!app.editor) return prepare_editor_process(app, window);
    if (editor_capture_busy(app)) return;
    EditorProcess& child = *app.editor;
    child.link.restart_after_exit = true;
    // A child still warming up has no window to close; its job ends it, and
    // the resident's loop reports the exit either way.
    if (child.link.state == EditorLinkState::Ready && PostMessageW(child.editor_window, WM_CLOSE, 0, 0)) return;
    TerminateJobObject(child.job.get(), 0);
}

void stop_editor_process(EditorProcess child) {
    if (child.link.state != EditorLinkState::Started) {
        PostMessageW(child.editor_window, WM_CLOSE, 0, 0);
        WaitForSingleObject(child.process.get(), 3000);
    }
    TerminateJobObject(child.job.get(), 1);
    WaitForSingleObject(child.process.get(), 1500);
}

}  // namespace glimmerly
