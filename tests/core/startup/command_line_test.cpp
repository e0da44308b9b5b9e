#include "core/startup/command_line.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

Arguments with(std::initializer_list<std::u16string> rest) {
    Arguments args{u"C:\\Program Files\\Glimmerly\\glimmerly.exe"};
    args.insert(args.end(), rest);
    return args;
}

TEST(CommandLine, ChoosesTheFirstRoleThatFitsWithItsSecondInstance) {
    const struct { const char* name; Arguments args; Role role; SecondInstance second; } rows[] = {
        {"nothing", with({}), Role::Resident, SecondInstance::AlreadyRunningBox},
        {"both diagnostics", with({u"--first-frame-diagnostic", u"--diagnostic"}), Role::Diagnostics,
         SecondInstance::AlreadyRunningBox},
        {"board before editor", with({u"--capture", u"--editor", u"--board"}), Role::Board, SecondInstance::Silent},
        {"a document", with({u"C:\\a.png", u"--editor"}), Role::DocumentEditor, SecondInstance::Allowed},
        {"an empty first argument is a document", with({u""}), Role::DocumentEditor, SecondInstance::Allowed},
        {"prepared child", with({u"--prepared-editor", u"--notification-owner=5"}), Role::Editor,
         SecondInstance::EditorExists},
        {"in-process editor", with({u"--capture", u"--editor"}), Role::Editor, SecondInstance::AlreadyRunningBox},
        {"whole and exact only", with({u"--Editor", u"--editor=1"}), Role::Resident, SecondInstance::AlreadyRunningBox},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const StartupFlags flags = startup_flags(row.args);
        EXPECT_EQ(choose_role(flags), row.role);
        EXPECT_EQ(second_instance(choose_role(flags), flags), row.second);
    }
    EXPECT_EQ(startup_flags(with({u"C:\\a.png"})).document_path, u"C:\\a.png");
}

TEST(CommandLine, TakesTheFirstNotificationOwnerThatIsAPositiveDecimal) {
    const struct { const char* name; Arguments args; std::optional<std::uint64_t> owner; } rows[] = {
        {"plus sign", with({u"--notification-owner=+123"}), 123},
        {"zero and negative skipped", with({u"--notification-owner=0", u"--notification-owner=-5",
                                            u"--notification-owner=77"}),
         77},
        {"overflow skipped", with({u"--notification-owner=18446744073709551616"}), std::nullopt},
        {"largest", with({u"--notification-owner=18446744073709551615"}), UINT64_MAX},
        {"empty or trailing text", with({u"--notification-owner=", u"--notification-owner=12a"}), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parse_notification_owner(row.args), row.owner);
    }
}

TEST(CommandLine, OnlyThePreparedEditorChildWaitsForAnOwner) {
    const struct { const char* name; Arguments args; bool waits; } rows[] = {
        {"prepared child", with({u"--prepared-editor"}), true},
        {"prepared first-frame check", with({u"--first-frame-diagnostic", u"--prepared-editor"}), true},
        {"prepared board", with({u"--board", u"--prepared-editor"}), false},
        {"prepared document", with({u"C:\\a.vexil", u"--prepared-editor"}), false},
        {"in-process editor", with({u"--editor"}), false},
        {"resident", with({}), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const StartupFlags flags = startup_flags(row.args);
        EXPECT_EQ(waits_for_editor_owner(flags, choose_role(flags)), row.waits);
    }
}

TEST(CommandLine, FindsTheFirstOneOffInTableOrderAndTheModesThatScriptsStart) {
    EXPECT_FALSE(find_one_off(with({u"--diagnostic"})));
    const auto found = find_one_off(with({u"--hotkey-diagnostic", u"--board-clear", u"--render-demo"}));
    EXPECT_EQ(found ? found->mode : OneOffMode::HotkeyDiagnostic, OneOffMode::BoardClear);
    EXPECT_TRUE(reports_to_standard_error(with({u"--board", u"--prepared-editor"})));
    EXPECT_FALSE(reports_to_standard_error(with({u"--board"})));
    EXPECT_TRUE(keeps_settings_file(with({u"--prepared-editor"})));
    EXPECT_FALSE(keeps_settings_file(with({u"--document-probe"})));
}

}  // namespace
}  // namespace glimmerly
