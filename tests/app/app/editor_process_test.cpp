// The editor child's command line, as the child's own start splits it.

#include "app/app/editor_process.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include "app/win/paths.h"
#include "core/startup/command_line.h"

namespace glimmerly {
namespace {

Arguments split_as_the_child_does(const std::u16string& line) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(win::from_u16(line).c_str(), &count);
    Arguments args;
    for (int i = 0; i < count; ++i) args.push_back(win::to_u16(argv[i]));
    LocalFree(argv);
    return args;
}

TEST(EditorProcess, TheChildFindsItsProgramPathFirstThenItsRoleOwnerAndColdStart) {
    const std::u16string program = u"C:\\Program Files\\Glimmerly\\glimmerly.exe";
    for (const bool prepared : {true, false}) {
        SCOPED_TRACE(prepared ? "prepared" : "cold");
        const Arguments args = split_as_the_child_does(editor_command_line(program, 0x1234ABCD, prepared, u"--ready"));
        ASSERT_EQ(args.size(), prepared ? 4u : 5u);
        EXPECT_EQ(args[0], program);
        EXPECT_TRUE(startup_flags(args).prepared_editor);
        EXPECT_FALSE(startup_flags(args).document_path);
        EXPECT_EQ(parse_notification_owner(args), std::optional<std::uint64_t>(0x1234ABCD));
        EXPECT_EQ(has_option(args, u"--cold-editor"), !prepared);
        EXPECT_TRUE(has_option(args, u"--ready"));
    }
}

}  // namespace
}  // namespace glimmerly
