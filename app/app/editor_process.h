#pragma once
// The resident's side of the editor child: every capture runs in a child
// process of the same program, started ahead of time when it can be so that
// the capture opens at once. The child runs in a job that ends it when the
// resident goes, reports ready with WM_APP_EDITOR_READY, is asked for the
// capture with WM_APP_START_CAPTURE and answers WM_APP_CAPTURE_TAKEN, and its
// exit is posted as WM_APP_EDITOR_EXITED by the resident's own message loop,
// which waits on the child's process beside its messages.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/startup/editor_link.h"

namespace glimmerly {

struct App;

// What starts an editor child: this program, through CreateProcessW. Tests,
// whose own executable is not the program, name it, and put in a start that
// fails now and then as Wine's does on a busy machine.
using ProcessCreator = decltype(&CreateProcessW);
struct EditorStarter {
    std::wstring program;  // empty: the running program
    ProcessCreator create_process = CreateProcessW;
};

// Members in creation order: the process handle goes before the job's,
// whose closing ends a child that still runs.
struct EditorProcess {
    EditorLink link;
    HWND editor_window = nullptr;  // known from the ready report
    win::UniqueHandle job;
    win::UniqueHandle process;
    DWORD process_id = 0;
    bool exit_posted = false;  // the loop has posted its WM_APP_EDITOR_EXITED
};

// Starts the program as an editor child reporting to `owner`, inside a new
// kill-on-close job. Prepared: it
// warms its renderer first; otherwise "--cold-editor". `extra` is appended
// to its options. A start that fails is tried again at once a few times.
Result<EditorProcess> start_editor_process(HWND owner, bool prepared, std::wstring_view extra,
                                           const EditorStarter& starter = {});

// Starts a prepared child unless one is linked. A start that fails shows
// nothing (no capture waits for it) and is tried again from
// TIMER_PREPARE_EDITOR after a growing wait, until a child runs.
void prepare_editor_process(App& app, HWND window);
// TIMER_PREPARE_EDITOR.
void retry_prepare_editor_process(App& app, HWND window);

// The resident's part of a capture: starts a cold child when none is
// linked, and asks the child for the capture as soon as it can take it.
Status ask_editor_for_capture(App& app, HWND window);

// The child's side: it tells its resident that it has read the request,
// before it opens the capture, so that a capture failing from here on is
// its own and a child dying before it leaves the request to another.
void acknowledge_capture_request(const App& app);
// The child's side at its start: the owner named on its command line must be
// a window of another process on this desktop, never a pseudo handle such
// as HWND_BROADCAST (0xFFFF), whose posts reach every top-level window and
// leave the child waiting for a request no one will send. The handle is the
// owner's process, opened to be waited on.
Result<win::UniqueHandle> open_editor_owner(HWND owner);
// What the child's loop waits on beside its messages: the owner's process,
// until its end has been followed; null otherwise.
HANDLE owner_exit_to_watch(const App& app);
// Called by the loop once the owner's process has ended: a child with no
// capture open ends, as no request can come any more; an open capture stays
// the user's until they close it, which ends the child as always.
void follow_owner_exit(App& app);
// The resident's side, WM_APP_CAPTURE_TAKEN: only the linked child's process id counts.
Status handle_capture_taken(App& app, WPARAM process_id);

// WM_APP_EDITOR_READY and WM_APP_EDITOR_EXITED; only the linked child's
// process id counts.
Status handle_editor_ready(App& app, HWND window, WPARAM process_id, LPARAM editor_window);
Status handle_editor_exited(App& app, HWND window, WPARAM process_id, LPARAM exit_code);

// What the resident's loop waits on beside its messages: the linked child's
// process until its exit has been posted; null when there is nothing to wait on.
HANDLE editor_exit_to_watch(const App& app);
// Called by the loop once that process has ended: posts WM_APP_EDITOR_EXITED
// with the child's id and exit code; a failed post is tried again at the next wake.
void post_editor_exit(App& app, HWND window);

// Whether the linked child is capturing or has a capture asked of it.
bool editor_capture_busy(const App& app);

// A fresh prepared child, for a new interface language: a waiting child is
// ended and another follows its exit; one is started when none is linked. A
// capture that is open keeps its language, and its own exit prepares the next.
void restart_prepared_editor(App& app, HWND window);

// At the end of the resident's loop: a child that has a window is asked to
// close and given 3 s, then the job is ended.
void stop_editor_process(EditorProcess child);

}  // namespace glimmerly
