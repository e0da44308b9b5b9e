#pragma once
// What the command line asks of one start of the program: the role it plays,
// the one-off mode it runs instead, and the options that change a role. An
// option is one whole argument, compared code unit by code unit at any
// position, the program path included; nothing is ever removed from the list.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimmerly {

// The arguments as the platform split them, the program path first.
using Arguments = std::vector<std::u16string>;

bool has_option(const Arguments& args, std::u16string_view option);
std::optional<std::size_t> find_option(const Arguments& args, std::u16string_view option);

struct StartupFlags {
    bool diagnostics = false;
    bool first_frame = false;
    bool prepared_editor = false;
    bool board = false;
    // The first argument after the program path, unless it looks like an
    // option ("--" and at least one more code unit); an empty one counts.
    std::optional<std::u16string> document_path;
    bool in_process_editor = false;
};

StartupFlags startup_flags(const Arguments& args);

// The first that fits, in this order.
enum class Role : std::uint8_t { Diagnostics, FirstFrameDiagnostic, Board, DocumentEditor, Editor, Resident };

Role choose_role(const StartupFlags& flags);

// What a start does when another process already plays its role.
enum class SecondInstance : std::uint8_t {
    AlreadyRunningBox,   // tells the user and ends with success
    Silent,              // ends with success and shows nothing
    Allowed,             // runs side by side
    EditorExists,        // fails: the resident asked for a second editor child
};

SecondInstance second_instance(Role role, const StartupFlags& flags);

// The modes that run once and end, after COM is set up, in the order in which
// they are looked for. The first present one runs.
enum class OneOffMode : std::uint8_t {
    BoardBake,
    RestoreWallpaper,
    BoardClear,
    BoardDiagnostic,
    BoardDiagnosticSet,
    GoogleDiagnostic,
    RenderSitePreviews,
    RenderDemo,
    PresentationDiagnostic,
    LoupeDiagnostic,
    EditorDiagnostic,
    WarmDiagnostic,
    HotkeyDiagnostic,
};

struct OneOff {
    OneOffMode mode;
    std::u16string_view option;
};

std::optional<OneOff> find_one_off(const Arguments& args);

// Modes whose failures are written to standard error, for the scripts and
// processes that start them; the others report in a message box.
bool reports_to_standard_error(const Arguments& args);

// False for the runs that must leave the user's settings file and the Print
// Screen key as they are (the document probe and the diagnostics).
bool keeps_settings_file(const Arguments& args);

// A prepared editor child reports that it is ready to its owner and then
// waits for its word, so it cannot start without one: true for the prepared
// editor in every role but the board and a document's editor, which take
// their own ways through start-up.
bool waits_for_editor_owner(const StartupFlags& flags, Role role);

// The value of the first "--notification-owner=" argument that is a decimal
// number (an optional "+", no overflow) other than 0; the others are skipped.
std::optional<std::uint64_t> parse_notification_owner(const Arguments& args);

}  // namespace glimmerly
