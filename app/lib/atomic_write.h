#pragma once
// Replacing a file so that no reader ever sees half of it: the bytes go to a
// sibling temporary file, which is then moved over the target in one step.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

// How many numbered names a keep-existing write tries. Each attempt takes a
// new number, so only a folder whose names keep being taken (by other
// writers, or by files that are not default names) ever reaches it.
inline constexpr int MAX_NUMBERED_ATTEMPTS = 1000;

// A fresh sibling of `target` for one save: the extension replaced by this
// process's id, a number of the save and "tmp" (photo.png gives
// photo.4242.7.tmp). The id keeps processes apart and the number keeps
// apart the saves of one process, photo.png and photo.jpg at once from two
// threads included; being a sibling keeps the move on one volume.
std::wstring temporary_path_for(const std::wstring& target);

// The call that puts the bytes into the temporary file: WriteFile, or a
// stand-in through which a test fills the disk.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);

// Writes the bytes atomically and returns the path written. Replaces an
// existing target, or with `keep_existing` leaves it alone and takes the
// next numbered name of its folder in the target's own form (008.jpeg for a
// .jpeg target, 008 for a target without extension). Failures keep their
// Win32 codes and name the target ("Writing S:\photo.png: ..."), the
// temporary file only in the detail; the temporary file never survives one.
// A target that a reader holds for a moment is replaced once it lets go
// (waited for up to 2 s).
Result<std::wstring> write_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing,
                                           FileWriteCall write = WriteFile);

// As write_file_atomically replacing `target`, for a file other programs
// open too: while another process holds the target open (any reader keeps
// a replace out), the replace is tried again for up to `held_wait_ms`. A
// holder that still refuses sharing then fails with
// ERROR_SHARING_VIOLATION, the target unchanged.
Result<std::wstring> replace_file_atomically(std::string_view bytes, const std::wstring& target, DWORD held_wait_ms);

}  // namespace glimmerly
