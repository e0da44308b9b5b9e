#pragma once
// Creating texts and labels and changing their letter size and letter
// colour, each change one undo step. The caller measures the laid-out text
// (the text formats live on the Windows side) and hands the extent in.

#include "core/document/scene_object.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glimmerly {

struct EditorState;

// One text object's new letter size with the extent of its text laid out at
// that size.
struct TextSizeEdit {
    ObjectId id = 0;
    double size = 0.0;
    Size extent;

    friend bool operator==(const TextSizeEdit&, const TextSizeEdit&) = default;
};

// Adds a text (label mode none) or a label on top, with the current stroke
// width. Refused, with nothing changed, for a blank plain text, a position,
// size (8..300) or extent that is not usable, a wrap width not above 0, or a
// text longer than a stored scene may hold. `ink` is a label's letter colour
// (none: the automatic black or white); a plain text never keeps one.
bool add_text_object(EditorState& state, Point at, std::string text, Size extent, Rgb color, double size,
                     LabelMode label, std::optional<Rgb> ink);

// Adds a plain text of size 24 in the current colour with an extent guessed
// from its lines and characters, for pictures drawn without a text layout.
void add_sized_text_object(EditorState& state, Point at, std::string text);

// Gives text objects new sizes with their re-measured extents, all as one
// step; when any entry is unusable or names no text object, nothing changes.
void apply_text_edits(EditorState& state, std::span<const TextSizeEdit> edits);

// Sets the letter colour of the selected labels, or with none gives them the
// automatic black or white back; nothing while a new object is being drawn.
void set_selected_text_ink(EditorState& state, std::optional<Rgb> ink);

}  // namespace glimmerly
