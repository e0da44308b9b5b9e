#pragma once
// The sign-in entry behind the "Start with Windows" setting: the value
// "Glimmerly" in the current user's Run key, holding the quoted path of the
// running program.

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/result.h"

namespace glimmerly {

// The full path of the running executable, however long.
Result<std::wstring> running_program_path();

// The command the sign-in list runs: the path in double quotation marks, so
// that a path with spaces is one argument.
std::wstring sign_in_command(const std::wstring& program_path);

// Writes or deletes the sign-in value; deleting a value that is not there
// succeeds.
Status set_start_with_windows(bool enabled);

// The sign-in value as it stands: absent, or its registry type and bytes
// as stored, whoever wrote them.
struct SignInValue {
    bool present = false;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};
Result<SignInValue> read_sign_in_value();

// Puts the value back exactly as read: its type and bytes written again, or
// the value deleted when it was absent.
Status restore_sign_in_value(const SignInValue& value);

}  // namespace glimmerly
