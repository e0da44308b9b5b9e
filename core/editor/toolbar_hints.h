#pragma once
// The words of the capture chrome and where their boxes go: the hint of a
// toolbar item with its shortcuts, the stroke width label, the colour
// picker's title and hint, the magnifier's hint, and the placement of hint
// and label boxes inside the visible area. The renderer measures and draws;
// this decides.

#include "core/editor/toolbar.h"
#include "text/text_table.h"

#include <string>
#include <vector>

namespace glimmerly {

// The shortcuts a hint names for an item: the table rows of that action, or
// the keys the editor handles itself (Ctrl+C for copy, F for full screen,
// both redo keys, Ctrl+Z restoring a cleared board).
std::vector<ToolbarShortcut> toolbar_item_shortcuts(EditorAction item);

// "Ctrl+Shift+Z": the key's name after its modifiers.
std::string shortcut_name(const ToolbarShortcut& shortcut, Language language);
// Letters and digits as themselves, F1..F24, the named keys in the language,
// anything else as its code in hexadecimal.
std::string key_name(VirtualKey key, Language language);

// The hint of a toolbar item for its current text (the button's text after
// its marks): "Rectangle · R · Scroll to resize", "Undo · Ctrl+Z".
std::string toolbar_hint_text(EditorAction item, TextId text, Language language);

// "3 px".
std::string stroke_width_label(Language language, double width);

struct CustomColourHint {
    std::string title;
    std::string hint;
};
CustomColourHint custom_colour_hint(Language language);
std::string magnifier_pick_hint(Language language);

// A hint box 20 units beside the pointer, on the side where it fits, kept
// 4 units inside the area.
Box place_hint_box(Point anchor, const Box& area, double width, double height, double scale);
// A label box under (else above) the anchor rectangle starting at its
// horizontal centre, cut to the area and kept 4 units inside it.
Box place_label_box(const Box& anchor, const Box& area, double width, double height, double scale);

}  // namespace glimmerly
