#include "core/vexil/document.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "core/blur/blur.h"
#include "core/editor/editor_state.h"
#include "core/vexil/png.h"
#include "core/vexil/scene_text.h"
#include "tests/core/support/png.h"
#include "tests/core/support/scenes.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Kind = DocumentReadErrorKind;

BgraImage noise(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    return image;
}

EditorState editor_over(const BgraImage& frame, Box selection) {
    EditorState editor;
    editor.frame_width = frame.width;
    editor.frame_height = frame.height;
    editor.capture_selection = selection;
    return editor;
}

const PngEncoder kEncoder = encode_stored_png;
const PngDecoder kDecoder = decode_stored_png;

Result<std::vector<std::uint8_t>> write(const EditorState& editor, const BgraImage& frame,
                                        ScreenOrigin origin = {100, -50}) {
    return write_vexil_document(editor, frame, origin, noise(32, 16, 99), kEncoder);
}

const Failure& failure_of(const auto& result) {
    static const Failure none{};
    return result.ok() ? none : result.failure();
}

// A stored picture with the given chunks put before its end, each with a
// correct CRC.
std::vector<std::uint8_t> picture_with_chunks(const std::vector<std::string>& datas,
                                              std::string_view type = "vxIL") {
    const std::vector<std::uint8_t> png = *encode_stored_png(noise(4, 4, 1));
    std::vector<std::uint8_t> out(png.begin(), png.end() - 12);  // IEND is 12 bytes
    for (const std::string& data : datas)
        append_png_chunk(out, type, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    out.insert(out.end(), png.end() - 12, png.end());
    return out;
}

std::string chunk_data(std::string_view header, std::string_view scene_text, std::string_view frame_png) {
    return std::string(header) + std::string(scene_text) + "frame-png " + std::to_string(frame_png.size()) + "\n" +
           std::string(frame_png);
}

TEST(VexilDocument, EveryKindRoundTripsWithTheBlurredFrame) {
    const BgraImage frame = noise(800, 600, 3);
    const Scene drawn = scene_with_every_kind();
    EditorState editor = editor_over(frame, drawn.region);
    editor.objects = drawn.objects;
    editor.background = drawn.background;
    editor.last_id = drawn.last;

    const auto bytes = write(editor, frame, {-1920, 37});
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    const auto opened = open_vexil_document(*bytes, kDecoder);
    ASSERT_TRUE(opened.ok()) << opened.failure().message;

    Scene expected = drawn;
    renumber_object_ids(expected.objects, expected.background);
    EXPECT_EQ(opened->scene, expected);
    EXPECT_EQ(opened->frame.pixels, blur_regions(frame, drawn.objects).image().pixels);
    EXPECT_NE(opened->frame.pixels, frame.pixels);  // the blur object hid something

    // The visible picture is the one given, and the private chunk sits last
    // before the end, headed by the scene's version.
    const auto chunks = walk_png_chunks(*bytes);
    ASSERT_TRUE(chunks.has_value());
    ASSERT_GE(chunks->size(), 3u);
    const PngChunk& chunk = (*chunks)[chunks->size() - 2];
    EXPECT_EQ(chunk.type_name(), "vxIL");
    const std::string_view data(reinterpret_cast<const char*>(chunk.data.data()), chunk.data.size());
    EXPECT_EQ(data.substr(0, data.find('\n')), "glimmerly-document 8");
    EXPECT_EQ(decode_stored_png(*bytes)->pixels, noise(32, 16, 99).pixels);
}

TEST(VexilDocument, KeepsTheMonitorsTheSelectionTouchesInWholePixels) {
    const BgraImage frame = noise(400, 300, 4);
    EditorState editor = editor_over(frame, {60.25, 60.5, 100.75, 100});
    editor.monitor_areas = {MonitorArea{{50.5, 40.25, 200.5, 150.75}, 1.0},   // touched, fractional edges
                            MonitorArea{{200.5, 0, 400, 300}, 1.0},          // not touched
                            MonitorArea{{std::numeric_limits<double>::quiet_NaN(), 0, 400, 300}, 1.0}};
    editor.objects = {rectangle(1, {70, 80, 90, 95})};
    editor.last_id = 1;
    const auto bytes = write(editor, frame, {100, -50});
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    const auto opened = open_vexil_document(*bytes, kDecoder);
    ASSERT_TRUE(opened.ok());
    const Scene& scene = opened->scene;

    // One whole top-left, (50, 40), moves pixels, objects, region and origin.
    EXPECT_EQ(scene.frame, (FrameSize{151, 111}));
    EXPECT_EQ(scene.origin, (ScreenOrigin{150, -10}));
    EXPECT_EQ(scene.region, (Box{10.25, 20.5, 50.75, 60}));
    EXPECT_EQ(scene.objects.at(0), rectangle(1, {20, 40, 40, 55}));
    for (const auto& [x, y] : {std::pair{0u, 0u}, {20u, 40u}, {150u, 110u}})
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(opened->frame.pixels[(std::size_t{y} * 151 + x) * 4 + c],
                      frame.pixels[(std::size_t{y + 40} * 400 + x + 50) * 4 + c]);

    // Without monitors the whole frame is kept.
    editor.monitor_areas.clear();
    const auto whole = open_vexil_document(*write(editor, frame), kDecoder);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(whole->scene.frame, (FrameSize{400, 300}));
    EXPECT_EQ(whole->frame.pixels, frame.pixels);
}

TEST(VexilDocument, KeepsObjectsThatReachTheAreaAndFreesLinesToThoseLeftOut) {
    const BgraImage frame = noise(400, 300, 5);
    EditorState editor = editor_over(frame, {100, 100, 200, 200});
    editor.monitor_areas = {MonitorArea{{100, 100, 200, 200}, 1.0}};
    SceneObject tied = line(4, {150, 150}, {330, 150});
    std::get<LinePayload>(tied.payload).end = ObjectAttachment{3, {-20, 0}};
    editor.objects = {
        stroke(1, {{65, 150}, {70, 160}}, false, 10.0),   // 30 px left of the area: within 4 x 10
        stroke(2, {{40, 150}, {45, 160}}, false, 10.0),   // 55 px left: out of reach
        rectangle(3, {300, 140, 340, 160}),
        tied,
    };
    editor.background = {FillRegion{{2, 3}, Rgb{1, 2, 3}}};
    editor.last_id = 9;
    const auto drawn = resolve_arrow_ends(tied, SceneObjects(editor.objects));
    ASSERT_TRUE(drawn.has_value());

    const auto opened = open_vexil_document(*write(editor, frame), kDecoder);
    ASSERT_TRUE(opened.ok());
    const Scene& scene = opened->scene;
    ASSERT_EQ(scene.objects.size(), 2u);
    EXPECT_EQ(scene.objects[0].id, 1u);
    const LinePayload& freed = std::get<LinePayload>(scene.objects[1].payload);
    EXPECT_FALSE(freed.end.has_value());
    EXPECT_EQ(freed.to, (Point{drawn->to.x - 100, drawn->to.y - 100}));
    EXPECT_EQ(scene.background, (std::vector<FillRegion>{FillRegion{{}, Rgb{1, 2, 3}}}));
    EXPECT_EQ(scene.last, 9u);
}

TEST(VexilDocumentWriter, RefusesCapturesItCannotStoreAndPassesEncoderErrorsOn) {
    const BgraImage frame = noise(64, 48, 7);
    const auto fresh = [&] { return editor_over(frame, {0, 0, 64, 48}); };
    const EditorState good = fresh();
    ASSERT_TRUE(write(good, frame).ok());
    const Failure not_editable = make_app_error(TextId::error_not_editable_capture);

    EditorState no_selection = fresh();
    no_selection.capture_selection.reset();
    EditorState other_size = fresh();
    other_size.frame_width = 65;
    EditorState invalid_scene = fresh();
    invalid_scene.objects = {text(1, "   ", {1, 1})};  // a plain text that is blank
    EditorState outside = fresh();
    outside.capture_selection = Box{100, 100, 120, 120};
    outside.monitor_areas = {MonitorArea{{0, 0, 64, 48}, 1.0}};
    BgraImage short_frame = frame;
    short_frame.pixels.pop_back();

    const auto with_encoder = [&](PngEncoder encoder) {
        return write_vexil_document(good, frame, {}, frame, encoder);
    };
    const auto png_without_end = [](const BgraImage& image) -> Result<std::vector<std::uint8_t>> {
        auto png = *encode_stored_png(image);
        png.resize(png.size() - 12);
        return png;
    };
    const auto png_with_chunk = [](const BgraImage&) -> Result<std::vector<std::uint8_t>> {
        return picture_with_chunks({"x"});
    };
    const auto failing_encoder = [](const BgraImage&) -> Result<std::vector<std::uint8_t>> {
        return plain_failure("Incomplete PNG");
    };

    struct Row {
        const char* name;
        Result<std::vector<std::uint8_t>> result;
        Failure expected;
    };
    const Row rows[] = {
        {"no selected region", write(no_selection, frame), not_editable},
        {"frame of another size than the editor's", write(other_size, frame), not_editable},
        {"frame buffer too short", write(good, short_frame), not_editable},
        {"scene that fails validation", write(invalid_scene, frame), not_editable},
        {"selection outside the frame", write(outside, frame), not_editable},
        {"picture without an end chunk", with_encoder(png_without_end), not_editable},
        {"picture that already carries the chunk", with_encoder(png_with_chunk), not_editable},
        {"encoding error as it is", with_encoder(failing_encoder), plain_failure("Incomplete PNG")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(failure_of(row.result), row.expected);
    }
}

TEST(VexilDocumentReader, ReportsEachFaultAsNotEditableNewerOrDamaged) {
    const Scene scene = empty_scene(4, 4);
    const std::string text = write_scene_text(scene);
    const auto frame = encode_stored_png(noise(4, 4, 2));
    const std::string frame_png(frame->begin(), frame->end());
    const std::string good = chunk_data("glimmerly-document 1\n", text, frame_png);
    ASSERT_TRUE(read_vexil_document(picture_with_chunks({good})).ok());

    std::vector<std::uint8_t> flipped = picture_with_chunks({good});
    flipped[flipped.size() - 12 - 4 - 30] ^= 0x10;  // a data byte of the private chunk
    std::vector<std::uint8_t> cut = picture_with_chunks({good});
    cut.resize(cut.size() - 13);  // the end chunk and a byte of the private one

    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Kind kind;
    };
    const Row rows[] = {
        {"not a PNG", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}, Kind::NotEditable},
        {"PNG without the chunk", picture_with_chunks({}), Kind::NotEditable},
        {"a chunk of another private type", picture_with_chunks({good}, "vxIl"), Kind::NotEditable},
        {"two chunks, both correct", picture_with_chunks({good, good}), Kind::Damaged},
        {"one flipped bit", flipped, Kind::Damaged},
        {"chunk running past the end", cut, Kind::Damaged},
        {"version 9", picture_with_chunks({chunk_data("glimmerly-document 9\n", text, frame_png)}), Kind::Newer},
        {"version 0", picture_with_chunks({chunk_data("glimmerly-document 0\n", text, frame_png)}), Kind::Damaged},
        {"minus version", picture_with_chunks({chunk_data("glimmerly-document -1\n", text, frame_png)}),
         Kind::Damaged},
        {"version beyond u32",
         picture_with_chunks({chunk_data("glimmerly-document 4294967296\n", text, frame_png)}), Kind::Damaged},
        {"header without line feed", picture_with_chunks({"glimmerly-document 1"}), Kind::Damaged},
        {"no frame-png line", picture_with_chunks({"glimmerly-document 1\n" + text}), Kind::Damaged},
        {"frame count one short", picture_with_chunks({"glimmerly-document 1\n" + text + "frame-png " +
                                                       std::to_string(frame_png.size() - 1) + "\n" + frame_png}),
         Kind::Damaged},
        {"frame count one over", picture_with_chunks({"glimmerly-document 1\n" + text + "frame-png " +
                                                      std::to_string(frame_png.size() + 1) + "\n" + frame_png}),
         Kind::Damaged},
        {"scene text refused", picture_with_chunks({chunk_data("glimmerly-document 1\n", text + "junk\n",
                                                               frame_png)}), Kind::Damaged},
        {"scene needing a newer version than the header",
         picture_with_chunks({chunk_data("glimmerly-document 1\n", write_scene_text(scene_with_every_kind()),
                                         frame_png)}), Kind::Damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(failure_of(read_vexil_document(row.bytes)), document_read_error(row.kind));
    }
    const std::vector<std::uint8_t> oversized(kMaxDocumentBytes + 1, 0);
    EXPECT_EQ(failure_of(read_vexil_document(oversized)), document_read_error(Kind::Damaged));
}

TEST(VexilDocumentReader, ReadsAPlusBeforeTheVersion) {
    Scene scene = empty_scene(4, 4);
    scene.objects = {label(1, "a", {0, 0})};
    scene.last = 1;
    const auto frame = encode_stored_png(noise(4, 4, 2));
    const std::string data =
        chunk_data("glimmerly-document +3\n", write_scene_text(scene), std::string(frame->begin(), frame->end()));
    const auto bytes = picture_with_chunks({data});  // the frame PNG points into them
    const auto document = read_vexil_document(bytes);
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(document->scene, scene);
    EXPECT_TRUE(std::equal(document->frame_png.begin(), document->frame_png.end(), frame->begin(), frame->end()));
}

TEST(OpenVexilDocument, AFrameThatDoesNotFitTheSceneIsDamaged) {
    const Scene scene = empty_scene(4, 4);
    const std::string text = write_scene_text(scene);
    const auto as_string = [](const std::vector<std::uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    struct Row {
        const char* name;
        std::string frame_png;
        bool opens;
    };
    const Row rows[] = {
        {"frame of the scene's size", as_string(*encode_stored_png(noise(4, 4, 1))), true},
        {"frame one pixel wider", as_string(*encode_stored_png(noise(5, 4, 1))), false},
        {"frame that does not decode", "not a png", false},
        {"no frame bytes", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto bytes = picture_with_chunks({chunk_data("glimmerly-document 1\n", text, row.frame_png)});
        ASSERT_TRUE(read_vexil_document(bytes).ok());
        const auto opened = open_vexil_document(bytes, kDecoder);
        EXPECT_EQ(opened.ok(), row.opens);
        if (!row.opens) {
            EXPECT_EQ(failure_of(opened), document_read_error(Kind::Damaged));
        }
    }
}

TEST(OpenVexilDocument, RenumbersASceneWhoseIdsWouldRunOut) {
    Scene scene = empty_scene(4, 4);
    scene.objects = {rectangle(std::numeric_limits<ObjectId>::max() - 1, {0, 0, 2, 2})};
    scene.last = std::numeric_limits<ObjectId>::max();
    const auto frame = encode_stored_png(noise(4, 4, 2));
    const auto bytes = picture_with_chunks(
        {chunk_data("glimmerly-document 1\n", write_scene_text(scene), std::string(frame->begin(), frame->end()))});
    const auto opened = open_vexil_document(bytes, kDecoder);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->scene.last, 1u);
    EXPECT_EQ(opened->scene.objects.at(0).id, 1u);
}

}  // namespace
}  // namespace glimmerly
