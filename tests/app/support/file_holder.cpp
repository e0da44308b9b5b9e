#include "tests/app/support/file_holder.h"

#include "app/win/failure.h"
#include "tests/app/support/child_process.h"

namespace glimmerly::testing_support {

// args: path, held event, release event, milliseconds, share mode.
GLIM_TEST_CHILD(HoldFileUnshared) {
    win::UniqueHandle held(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(1).c_str()));
    win::UniqueHandle release(OpenEventW(SYNCHRONIZE, FALSE, args.at(2).c_str()));
    const DWORD share = std::stoul(args.at(4));
    win::UniqueFileHandle file(CreateFileW(args.at(0).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!held || !release || !file) return 2;
    SetEvent(held.get());
    WaitForSingleObject(release.get(), std::stoul(args.at(3)));
    return 0;
}

Result<HeldFile> HeldFile::hold(const std::wstring& path, unsigned hold_ms, DWORD share) {
    const std::wstring held_name = unique_name(L"Glimmerly.Test.Held");
    const std::wstring release_name = unique_name(L"Glimmerly.Test.Release");
    win::UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, held_name.c_str()));
    HeldFile holder;
    holder.release_.reset(CreateEventW(nullptr, TRUE, FALSE, release_name.c_str()));
    if (!held || !holder.release_) return win::win32_failure("CreateEventW");
    auto process = start_child(L"HoldFileUnshared", {path, held_name, release_name, std::to_wstring(hold_ms), std::to_wstring(share)});
    if (!process) return std::move(process).failure();
    holder.process_ = std::move(*process);
    const HANDLE either[] = {held.get(), holder.process_.get()};
    if (WaitForMultipleObjects(2, either, FALSE, 30000) != WAIT_OBJECT_0)
        return plain_failure("The other process did not take the file");
    return holder;
}

int HeldFile::let_go() {
    SetEvent(release_.get());
    return wait_for_exit(process_);
}

}  // namespace glimmerly::testing_support
