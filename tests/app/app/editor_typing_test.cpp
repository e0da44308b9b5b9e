// The editor window's typing controls on a real window: characters sent to
// the hidden EDIT controls as the message loop would deliver them, the keys
// the loop offers first, and what reaches the scene and the selection.

#include "app/app/editor_typing.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/render/renderer_resources.h"
#include "app/win/owners.h"
#include "core/editor/editor_routing.h"
#include "core/editor/history.h"
#include "tests/app/support/dialogs.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/objects.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

using testing_support::answer_message_box;
using testing_support::AnsweredBox;

constexpr Box kSelection{100, 100, 400, 300};

class EditorTypingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        window_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                      nullptr, nullptr));
        ASSERT_TRUE(window_);
        state_ = testing::capture_over({{{0, 0, 640, 480}, 1.0}}, kSelection);
        give_resources();
        typing_ = std::make_unique<EditorTyping>(window_.get(), state_);
    }

    void give_resources() {
        auto made = create_renderer_resources(true, false);
        ASSERT_TRUE(made) << made.failure().message;
        editor_window_part(state_).renderer.resources = std::move(*made);
    }

    // As TranslateMessage hands them to the control with the keyboard.
    void type(std::u16string_view text) {
        for (const char16_t unit : text) SendMessageW(typing_->focus_window(), WM_CHAR, unit, 0);
    }

    void paste(std::u16string_view text) {
        ASSERT_TRUE(OpenClipboard(window_.get()));
        EmptyClipboard();
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        auto* units = static_cast<char16_t*>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), units);
        units[text.size()] = u'\0';
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        SendMessageW(typing_->focus_window(), WM_PASTE, 0, 0);
    }

    std::u16string typed() const { return read_edit_text(typing_->focus_window()); }

    win::ComApartment com_;
    win::UniqueWindow window_;
    EditorState state_;
    std::unique_ptr<EditorTyping> typing_;  // first to go: it closes its controls in the state
};

TEST_F(EditorTypingTest, TypedTextBecomesAnObjectWhenTheEntryEnds) {
    enum class Typing { Keys, Paste };
    const struct {
        const char* name;
        bool label;
        std::optional<Point> drag;  // of a new label's box
        Typing how;
        std::u16string text;
        VirtualKey key;
        bool ctrl;
        std::optional<std::string> stored;  // none: nothing added
        LabelKind kind;
        std::int16_t wheel = 0;  // turned while the box is open
        double size = 24;
    } rows[] = {
        {"Enter breaks the line", false, {}, Typing::Keys, u"a\rb", kVkEscape, false, "a\r\nb", LabelKind::None},
        {"untouched text, Esc", false, {}, Typing::Keys, u"", kVkEscape, false, {}, LabelKind::None},
        {"untouched label keeps its box", true, {}, Typing::Keys, u"", kVkEscape, false, "", LabelKind::Fit},
        {"dragged label wraps", true, Point{300, 200}, Typing::Keys, u"x", kVkEscape, false, "x", LabelKind::Wrap},
        {"pasted controls, lone surrogate, right to left", false, {}, Typing::Paste,
         u"\u05E9\u05DC a\x01\x1F" u"b\xD800", kVkEscape, false, "\u05E9\u05DC ab\uFFFD", LabelKind::None},
        {"a wheel notch up", false, {}, Typing::Keys, u"Hi", kVkReturn, true, "Hi", LabelKind::None, 120, 28},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        state_.objects.clear();
        ASSERT_TRUE(typing_->open_text_entry({{150, 150}, row.label}));
        EXPECT_EQ(typing_->label_drag_running(), row.label);
        if (row.drag) typing_->drag_label_to(*row.drag);
        typing_->end_label_drag();
        if (row.how == Typing::Paste) paste(row.text);
        else type(row.text);
        if (row.wheel) { ASSERT_TRUE(resize_by_wheel(state_, *typing_, row.wheel)); }
        EXPECT_FALSE(typing_->take_key(kVkReturn, false));  // plain Enter is the control's
        EXPECT_TRUE(typing_->take_key(row.key, row.ctrl));
        EXPECT_FALSE(typing_->text_box_open());
        ASSERT_EQ(state_.objects.size(), row.stored ? 1u : 0u);
        if (!row.stored) continue;
        EXPECT_EQ(as_text(state_.objects[0])->text, *row.stored);
        EXPECT_EQ(as_text(state_.objects[0])->label.kind, row.kind);
        EXPECT_EQ(as_text(state_.objects[0])->size, row.size);
        EXPECT_EQ(state_.selection, std::vector<ObjectId>{state_.objects[0].id});
    }
}

TEST_F(EditorTypingTest, EditingALabelIsOneUndoStep) {
    state_.objects = {testing::text(4, "old", {150, 150}, LabelMode::fit(), 24, {60, 30})};
    state_.last_id = 4;
    ASSERT_TRUE(typing_->open_text_entry({{160, 160}, true}));
    EXPECT_FALSE(typing_->label_drag_running());
    EXPECT_EQ(typed(), u"old");
    SendMessageW(typing_->focus_window(), EM_SETSEL, 3, 3);
    type(u"er");
    EXPECT_TRUE(typing_->take_key(kVkReturn, true));
    ASSERT_EQ(state_.objects.size(), 1u);
    EXPECT_EQ(as_text(state_.objects[0])->text, "older");
    EXPECT_EQ(state_.undo_stack.size(), 1u);
    undo(state_);
    EXPECT_EQ(as_text(state_.objects[0])->text, "old");
}

TEST_F(EditorTypingTest, AnOverLongPasteIsRefusedAtOnceAndShownOnceTheControlIsDone) {
    ASSERT_TRUE(typing_->open_text_entry({{150, 150}, false}));
    type(u"keep");
    // Nothing shows while the control still handles the paste: the window gets a message instead.
    EXPECT_EQ(answer_message_box([&] { paste(std::u16string(kTextBoxUnitLimit, u'a')); }).text, L"");
    EXPECT_EQ(typed(), u"keep");
    MSG posted{};
    ASSERT_TRUE(PeekMessageW(&posted, window_.get(), WM_APP_TYPING_REFUSED, WM_APP_TYPING_REFUSED, PM_REMOVE));
    EXPECT_EQ(answer_message_box([&] { typing_->show_refusal(); }).text,
              L"With this insertion the text would be 1048580 characters long; a capture keeps at most 1048576 "
              L"bytes of one text. Nothing was inserted.");
    EXPECT_EQ(typed(), u"keep");
    EXPECT_TRUE(state_.objects.empty());
}

TEST_F(EditorTypingTest, AFailedMeasurementIsShownAndTheEntryStaysOpenWithItsText) {
    editor_window_part(state_).renderer.resources.reset();
    ASSERT_TRUE(typing_->open_text_entry({{150, 150}, false}));
    type(u"Hi");
    const AnsweredBox box = answer_message_box([&] { typing_->take_key(kVkReturn, true); });
    EXPECT_EQ(box.title, L"Text layout failed");
    EXPECT_TRUE(typing_->text_box_open());
    EXPECT_EQ(typed(), u"Hi");
    EXPECT_TRUE(state_.objects.empty());
    give_resources();
    EXPECT_TRUE(typing_->take_key(kVkReturn, true));
    EXPECT_EQ(state_.objects.size(), 1u);
}

TEST_F(EditorTypingTest, PressesOnTheTextPlaceTheCaretAndBesideItMiss) {
    ASSERT_TRUE(typing_->open_text_entry({{150, 150}, false}));
    type(u"WWWW");
    auto* resources = editor_window_part(state_).renderer.resources.get();
    const auto one = measure_annotation_text(*resources, "W", 24, false, 0);
    ASSERT_TRUE(one);
    const struct {
        const char* name;
        Point at;
        bool inside;
        DWORD caret;
    } rows[] = {
        {"leading half of the second letter", {150 + one->w * 1.2, 150 + one->h / 2}, true, 1},
        {"trailing half of the second letter", {150 + one->w * 1.8, 150 + one->h / 2}, true, 2},
        {"past the text's end", {150 + one->w * 6, 150 + one->h / 2}, false, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(typing_->text_box_text_at(row.at), row.inside);
        const auto pressed = typing_->press_in_text_box(row.at, {});
        ASSERT_TRUE(pressed);
        EXPECT_EQ(*pressed, row.inside);
        if (!row.inside) continue;
        typing_->end_text_mouse_selection();
        DWORD start = 0, end = 0;
        SendMessageW(typing_->focus_window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(end, row.caret);
    }
}

TEST_F(EditorTypingTest, TheSizeFieldsResizeTheSelectionOnEnterAndRefuseWhatIsNoSize) {
    const struct {
        const char* name;
        std::u16string width, height;
        std::optional<VirtualKey> key;  // none: a press outside the fields commits
        std::optional<std::string> hint;  // none: closed
        Box selection;
    } rows[] = {
        {"a sum and a number", u"250+20", u"150", kVkReturn, {}, {100, 100, 370, 250}},
        {"zero", u"0", u"150", kVkReturn,
         "Enter a whole number of pixels (at least 2), or an expression such as 800+20.", kSelection},
        {"zero, a press outside", u"0", u"150", std::nullopt,
         "Enter a whole number of pixels (at least 2), or an expression such as 800+20.", kSelection},
        {"Esc leaves the selection", u"250", u"150", kVkEscape, {}, kSelection},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        state_.capture_selection = kSelection;
        ASSERT_TRUE(typing_->open_dimension_fields());
        ASSERT_TRUE(typing_->dimension_fields_open());
        EXPECT_EQ(typed(), u"300");
        type(row.width);  // replaces the selected text
        EXPECT_TRUE(typing_->take_key(kVkTab, false));
        type(row.height);
        if (!row.key) SetFocus(window_.get());
        EXPECT_TRUE(row.key ? typing_->take_key(*row.key, false) : !typing_->commit_dimension_fields());
        EXPECT_EQ(state_.capture_selection, row.selection);
        EXPECT_EQ(typing_->dimension_fields_open(), row.hint.has_value());
        if (!row.hint) continue;
        const auto& hint = editor_window_part(state_).dimension_fields->fields.hint;
        ASSERT_TRUE(hint);
        EXPECT_EQ(localized_text(LANGUAGE_ENGLISH, *hint), *row.hint);
        // The refusal brings the keys from outside to the width field; in the height field they stay.
        EXPECT_EQ(GetFocus(), editor_window_part(state_).dimension_fields->edits[row.key ? 1 : 0]);
        EXPECT_TRUE(typing_->take_key(kVkEscape, false));
    }
}

}  // namespace
}  // namespace glimmerly
