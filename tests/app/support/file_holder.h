#pragma once
// A second process that holds a file open, without sharing or sharing only
// reading, as a backup tool, a virus scanner or an editor does for a moment.

#include <string>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly::testing_support {

class HeldFile {
public:
    // Returns once the other process holds `path`; it lets go after
    // `hold_ms`, or at `let_go`, whichever comes first.
    // `share` is the holder's share mode.
    static Result<HeldFile> hold(const std::wstring& path, unsigned hold_ms, DWORD share = 0);

    // Lets go at once if it still holds; the holder's exit code (0 when it
    // held the file, -1 when it did not end).
    int let_go();

private:
    win::UniqueHandle process_;
    win::UniqueHandle release_;
};

}  // namespace glimmerly::testing_support
