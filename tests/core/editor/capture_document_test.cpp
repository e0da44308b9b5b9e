#include "core/editor/capture_document.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/blur/blur.h"
#include "core/document/object_transform.h"
#include "core/editor/editor_state.h"
#include "core/vexil/document.h"
#include "tests/core/support/png.h"
#include "tests/core/support/scenes.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

EditorState editor_over(const BgraImage& frame, Box selection, std::vector<SceneObject> objects = {}) {
    EditorState editor;
    editor.frame_width = frame.width;
    editor.frame_height = frame.height;
    editor.capture_selection = selection;
    editor.last_id = objects.size();
    editor.objects = std::move(objects);
    return editor;
}

TEST(ComposeCaptureDocument, KeepsTheMonitorsTheSelectionTouchesInWholePixels) {
    const BgraImage frame = noise_image(400, 300, 4);
    EditorState editor = editor_over(frame, {60.25, 60.5, 100.75, 100}, {rectangle(1, {70, 80, 90, 95})});
    editor.monitor_areas = {MonitorArea{{50.5, 40.25, 200.5, 150.75}, 1.0},  // touched, fractional edges
                            MonitorArea{{200.5, 0, 400, 300}, 1.0},         // not touched
                            MonitorArea{{std::numeric_limits<double>::quiet_NaN(), 0, 400, 300}, 1.0}};
    const auto composed = compose_capture_document(editor, frame, {100, -50});
    ASSERT_TRUE(composed.ok());

    // One whole top-left, (50, 40), moves pixels, objects, region and origin.
    EXPECT_EQ(composed->scene.frame, (FrameSize{151, 111}));
    EXPECT_EQ(composed->scene.origin, (ScreenOrigin{150, -10}));
    EXPECT_EQ(composed->scene.region, (Box{10.25, 20.5, 50.75, 60}));
    EXPECT_EQ(composed->scene.objects.at(0), rectangle(1, {20, 40, 40, 55}));
    const auto kept = composed->frame.pixels.begin();
    for (std::uint32_t y = 0; y < 111; ++y)
        ASSERT_TRUE(std::equal(kept + y * 604, kept + y * 604 + 604, frame.pixels.begin() + ((y + 40) * 400 + 50) * 4))
            << "row " << y;

    // Without monitors the whole frame is kept.
    editor.monitor_areas.clear();
    const auto whole = compose_capture_document(editor, frame, {});
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(whole->frame.pixels, frame.pixels);
}

TEST(ComposeCaptureDocument, BakesTheBlurAndRenumbersWhatItKeeps) {
    const BgraImage frame = noise_image(200, 100, 5);
    EditorState editor = editor_over(frame, {0, 0, 100, 100}, {rectangle(4, {300, 0, 310, 10}),  // outside
                                                               blur(7, {10, 10, 60, 60}), rectangle(9, {5, 5, 9, 9})});
    editor.monitor_areas = {MonitorArea{{0, 0, 100, 100}, 1.0}};
    editor.background = {FillRegion{{4, 9}, Rgb{1, 2, 3}}};
    editor.last_id = 12;
    const auto composed = compose_capture_document(editor, frame, {});
    ASSERT_TRUE(composed.ok());
    EXPECT_EQ(composed->scene.objects,
              (std::vector<SceneObject>{blur(1, {10, 10, 60, 60}), rectangle(2, {5, 5, 9, 9})}));
    EXPECT_EQ(composed->scene.background, (std::vector<FillRegion>{FillRegion{{2}, Rgb{1, 2, 3}}}));
    EXPECT_EQ(composed->scene.last, 12u);
    const BgraImage blurred = blur_regions(frame, editor.objects)->image();
    for (std::uint32_t y = 0; y < 100; ++y)
        ASSERT_TRUE(std::equal(composed->frame.pixels.begin() + y * 400, composed->frame.pixels.begin() + y * 400 + 400,
                               blurred.pixels.begin() + y * 800))
            << "row " << y;
    EXPECT_NE(blurred.pixels, frame.pixels);
}

TEST(ComposeCaptureDocument, RefusesCapturesItCannotKeepNamingTheCause) {
    const BgraImage frame = noise_image(64, 48, 7);
    BgraImage short_frame = frame;
    short_frame.pixels.pop_back();
    EditorState unselected = editor_over(frame, {});
    unselected.capture_selection.reset();
    EditorState wider = editor_over(frame, {0, 0, 64, 48});
    wider.frame_width = 65;
    EditorState outside = editor_over(frame, {100, 100, 120, 120});
    outside.monitor_areas = {MonitorArea{{0, 0, 64, 48}, 1.0}};
    struct Row { const char* name; const EditorState& editor; const BgraImage& frame; };
    const Row rows[] = {
        {"no selected region", unselected, frame},
        {"frame of another size than the editor's", wider, frame},
        {"frame buffer too short", editor_over(frame, {0, 0, 64, 48}), short_frame},
        {"selection outside the frame", outside, frame},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto composed = compose_capture_document(row.editor, row.frame, {});
        ASSERT_FALSE(composed.ok());
        const auto parsed = parse_app_error(composed.failure());
        ASSERT_TRUE(parsed && parsed->args.size() == 1);
        EXPECT_EQ(parsed->text, TextId::error_not_editable_capture);
        EXPECT_FALSE(parsed->args[0].second.empty());
    }
}

// Each save keeps the area of the monitor around the selection, so every
// object moves by that monitor's corner; nothing else of it may change, however
// often the document is opened and saved again.
TEST(ComposeCaptureDocument, SavedAgainAndAgainObjectsOnlyMove) {
    Scene drawn = scene_with_every_kind();
    SceneObject note = label(30, "drifts?", {101.3, 57.9}, LabelMode::wrap(80));
    std::get<TextPayload>(note.payload).size = 17.3;
    drawn.objects.push_back(note);
    BgraImage frame = noise_image(800, 600, 6);
    EditorState editor = editor_over(frame, {200, 150, 400, 300}, drawn.objects);
    editor.last_id = drawn.last;
    std::optional<Scene> first;
    for (int save = 0; save < 4; ++save) {
        SCOPED_TRACE(save);
        editor.monitor_areas = {MonitorArea{{3, 2, editor.frame_width - 1.0, editor.frame_height - 1.0}, 1.0}};
        const auto composed = compose_capture_document(editor, frame, {});
        ASSERT_TRUE(composed.ok());
        const auto bytes = write_vexil_document(composed->scene, *encode_stored_png(frame),
                                                *encode_stored_png(composed->frame));
        ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
        auto opened = open_vexil_document(*bytes, decode_stored_png_of);
        ASSERT_TRUE(opened.ok());
        if (!first) first = opened->scene;
        ASSERT_EQ(opened->scene.objects.size(), first->objects.size());
        for (std::size_t i = 0; i < first->objects.size(); ++i) {
            SceneObject expected = first->objects[i];
            move_object_by(expected, {-3.0 * save, -2.0 * save});
            EXPECT_EQ(opened->scene.objects[i], expected) << "object " << first->objects[i].id;
        }
        editor = editor_over(opened->frame, opened->scene.region, opened->scene.objects);
        editor.last_id = opened->scene.last;
        frame = std::move(opened->frame);
    }
    const auto wrapped = std::find_if(first->objects.begin(), first->objects.end(), [](const SceneObject& o) {
        return as_text(o) && as_text(o)->label.kind == LabelKind::Wrap;
    });
    ASSERT_NE(wrapped, first->objects.end());
    EXPECT_EQ(as_text(*wrapped)->label.wrap_width, 140.5);
    EXPECT_EQ(as_text(first->objects.back())->label.wrap_width, 80.0);
}

}  // namespace
}  // namespace glimmerly
