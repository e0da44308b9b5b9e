#pragma once
// The actions of the tray popup (and of the settings window's key routes) by
// their numeric ids, and the few rules about them that do not need a window.

#include <cstdint>
#include <optional>

#include "text/text_table.h"

namespace glimmerly {

using AppCommand = std::uint32_t;

inline constexpr AppCommand APP_COMMAND_TAKE_SCREENSHOT = 1;
inline constexpr AppCommand APP_COMMAND_QUIT = 3;
inline constexpr AppCommand APP_COMMAND_START_WITH_WINDOWS = 4;
inline constexpr AppCommand APP_COMMAND_LIVE_CAPTURE = 5;
inline constexpr AppCommand APP_COMMAND_INSTANT_SCREENSHOT = 7;
inline constexpr AppCommand APP_COMMAND_EDIT_BOARD = 8;
inline constexpr AppCommand APP_COMMAND_SHOW_BOARD = 9;
inline constexpr AppCommand APP_COMMAND_CLEAR_BOARD = 10;
inline constexpr AppCommand APP_COMMAND_PRESENTATION_HEADER = 90;
inline constexpr AppCommand APP_COMMAND_BOARD_HEADER = 91;
inline constexpr AppCommand CMD_PRESENTATION_POINTER_EFFECTS = 101;
inline constexpr AppCommand CMD_PRESENTATION_TEMPORARY_SHAPES = 102;
inline constexpr AppCommand CMD_PRESENTATION_KEYBOARD = 103;
inline constexpr AppCommand CMD_PRESENTATION_MOUSE = 104;
inline constexpr AppCommand CMD_PRESENTATION_MOVE_INPUT = 106;
inline constexpr AppCommand CMD_PRESENTATION_MAGNIFIER = 107;
inline constexpr AppCommand APP_COMMAND_SHAPE_DURATION_FIRST = 121;  // 121..123: 1, 3, 5 s
inline constexpr AppCommand APP_COMMAND_INPUT_SIZE_FIRST = 141;      // 141..143: 100, 150, 200 %
inline constexpr AppCommand APP_COMMAND_LANGUAGE_MENU = 150;
inline constexpr AppCommand APP_COMMAND_LANGUAGE_AUTO = 151;         // 152..166: the languages
inline constexpr AppCommand APP_COMMAND_SETTINGS = 170;
inline constexpr AppCommand APP_COMMAND_DRAW_ARROW = 171;            // 171..173: arrow, rectangle, ellipse

// Presentation settings cannot change under a running capture, which has
// paused presentation and will put back what it found.
constexpr bool refused_while_capturing(AppCommand command) { return command >= 101 && command <= 143; }

// The language a language row stands for (LANGUAGE_AUTO for "Windows
// language"); none for any other command.
constexpr std::optional<Language> language_of_command(AppCommand command) {
    if (command == APP_COMMAND_LANGUAGE_AUTO) return LANGUAGE_AUTO;
    if (command > APP_COMMAND_LANGUAGE_AUTO && command <= APP_COMMAND_LANGUAGE_AUTO + LANGUAGE_COUNT)
        return static_cast<Language>(command - APP_COMMAND_LANGUAGE_AUTO - 1);
    return std::nullopt;
}

constexpr AppCommand command_of_language(Language language) {
    return language == LANGUAGE_AUTO ? APP_COMMAND_LANGUAGE_AUTO : APP_COMMAND_LANGUAGE_AUTO + 1 + language;
}

}  // namespace glimmerly
