#include "core/startup/command_line.h"

#include <algorithm>
#include <array>

namespace glimmerly {
namespace {

constexpr std::array<OneOff, 13> kOneOffs = {{
    {OneOffMode::BoardBake, u"--board-bake"},
    {OneOffMode::RestoreWallpaper, u"--restore-wallpaper"},
    {OneOffMode::BoardClear, u"--board-clear"},
    {OneOffMode::BoardDiagnostic, u"--board-diagnostic"},
    {OneOffMode::BoardDiagnosticSet, u"--board-diagnostic-set"},
    {OneOffMode::GoogleDiagnostic, u"--google-diagnostic"},
    {OneOffMode::RenderSitePreviews, u"--render-site-previews"},
    {OneOffMode::RenderDemo, u"--render-demo"},
    {OneOffMode::PresentationDiagnostic, u"--presentation-diagnostic"},
    {OneOffMode::LoupeDiagnostic, u"--loupe-diagnostic"},
    {OneOffMode::EditorDiagnostic, u"--editor-diagnostic"},
    {OneOffMode::WarmDiagnostic, u"--warm-diagnostic"},
    {OneOffMode::HotkeyDiagnostic, u"--hotkey-diagnostic"},
}};

constexpr std::array<std::u16string_view, 17> kStandardErrorOptions = {
    u"--diagnostic",           u"--render-demo",           u"--document-probe",       u"--prepared-editor",
    u"--warm-diagnostic",      u"--loupe-diagnostic",      u"--board-diagnostic",     u"--forget-lens-page",
    u"--restore-wallpaper",    u"--editor-diagnostic",     u"--google-diagnostic",    u"--document-diagnostic",
    u"--restore-print-screen", u"--render-site-previews",  u"--board-diagnostic-set", u"--first-frame-diagnostic",
    u"--presentation-diagnostic"};

constexpr std::u16string_view kOwnerPrefix = u"--notification-owner=";

std::optional<std::uint64_t> parse_decimal(std::u16string_view text) {
    if (!text.empty() && text.front() == u'+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - u'0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

std::optional<std::size_t> find_option(const Arguments& args, std::u16string_view option) {
    const auto found = std::find(args.begin(), args.end(), option);
    if (found == args.end()) return std::nullopt;
    return static_cast<std::size_t>(found - args.begin());
}

bool has_option(const Arguments& args, std::u16string_view option) { return find_option(args, option).has_value(); }

StartupFlags startup_flags(const Arguments& args) {
    StartupFlags flags;
    flags.diagnostics = has_option(args, u"--diagnostic");
    flags.first_frame = has_option(args, u"--first-frame-diagnostic");
    flags.prepared_editor = has_option(args, u"--prepared-editor");
    flags.board = has_option(args, u"--board");
    if (args.size() > 1) {
        const std::u16string& first = args[1];
        if (!(first.size() >= 2 && first.starts_with(u"--"))) flags.document_path = first;
    }
    flags.in_process_editor = flags.prepared_editor || flags.document_path || flags.first_frame || flags.board ||
                              has_option(args, u"--editor");
    return flags;
}

Role choose_role(const StartupFlags& flags) {
    if (flags.diagnostics) return Role::Diagnostics;
    if (flags.first_frame) return Role::FirstFrameDiagnostic;
    if (flags.board) return Role::Board;
    if (flags.document_path) return Role::DocumentEditor;
    if (flags.in_process_editor) return Role::Editor;
    return Role::Resident;
}

SecondInstance second_instance(Role role, const StartupFlags& flags) {
    switch (role) {
        case Role::Board: return SecondInstance::Silent;
        case Role::DocumentEditor: return SecondInstance::Allowed;
        case Role::Editor:
            return flags.prepared_editor ? SecondInstance::EditorExists : SecondInstance::AlreadyRunningBox;
        default: return SecondInstance::AlreadyRunningBox;
    }
}

std::optional<OneOff> find_one_off(const Arguments& args) {
    for (const OneOff& one_off : kOneOffs)
        if (has_option(args, one_off.option)) return one_off;
    return std::nullopt;
}

bool reports_to_standard_error(const Arguments& args) {
    return std::any_of(kStandardErrorOptions.begin(), kStandardErrorOptions.end(),
                       [&](std::u16string_view option) { return has_option(args, option); });
}

bool keeps_settings_file(const Arguments& args) {
    return !has_option(args, u"--document-probe") && !has_option(args, u"--diagnostic") &&
           !has_option(args, u"--first-frame-diagnostic");
}

bool waits_for_editor_owner(const StartupFlags& flags, Role role) {
    return flags.prepared_editor && role != Role::Board && role != Role::DocumentEditor;
}

std::optional<std::uint64_t> parse_notification_owner(const Arguments& args) {
    for (const std::u16string& arg : args) {
        if (!arg.starts_with(kOwnerPrefix)) continue;
        const auto value = parse_decimal(std::u16string_view(arg).substr(kOwnerPrefix.size()));
        if (value && *value != 0) return value;
    }
    return std::nullopt;
}

}  // namespace glimmerly
