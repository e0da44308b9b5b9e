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

std::string as_string(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A picture carrying a document chunk of the given header version, scene and
// frame PNG (by default a 4 x 4 frame).
std::vector<std::uint8_t> stored_document(const Scene& scene, std::string_view version = "1",
                                          const std::string& frame_png = as_string(*encode_stored_png(noise(4, 4, 2)))) {
    return picture_with_chunks(
        {chunk_data("glimmerly-document " + std::string(version) + "\n", write_scene_text(scene), frame_png)});
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
    const EditorState good = editor_over(frame, {0, 0, 64, 48});
    ASSERT_TRUE(write(good, frame).ok());
    const auto changed = [&](auto change) {
        EditorState editor = editor_over(frame, {0, 0, 64, 48});
        change(editor);
        return write(editor, frame);
    };
    BgraImage short_frame = frame;
    short_frame.pixels.pop_back();
    const auto with_encoder = [&](PngEncoder encoder) { return write_vexil_document(good, frame, {}, frame, encoder); };
    using Png = Result<std::vector<std::uint8_t>>;

    struct Row {
        const char* name;
        Png result;
    };
    const Row rows[] = {
        {"no selected region", changed([](EditorState& e) { e.capture_selection.reset(); })},
        {"frame of another size than the editor's", changed([](EditorState& e) { e.frame_width = 65; })},
        {"frame buffer too short", write(good, short_frame)},
        {"scene that fails validation", changed([](EditorState& e) { e.objects = {text(1, "   ", {1, 1})}; })},
        {"selection outside the frame", changed([](EditorState& e) {
             e.capture_selection = Box{100, 100, 120, 120};
             e.monitor_areas = {MonitorArea{{0, 0, 64, 48}, 1.0}};
         })},
        {"picture without an end chunk", with_encoder([](const BgraImage& image) -> Png {
             auto png = *encode_stored_png(image);
             png.resize(png.size() - 12);
             return png;
         })},
        {"picture that already carries the chunk",
         with_encoder([](const BgraImage&) -> Png { return picture_with_chunks({"x"}); })},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(failure_of(row.result), make_app_error(TextId::error_not_editable_capture));
    }
    const auto failing = with_encoder([](const BgraImage&) -> Png { return plain_failure("Incomplete PNG"); });
    EXPECT_EQ(failure_of(failing), plain_failure("Incomplete PNG"));
}

TEST(VexilDocumentReader, ReportsEachFaultAsNotEditableNewerOrDamaged) {
    Scene scene = empty_scene(4, 4);
    const std::string text = write_scene_text(scene);
    const std::string frame_png = as_string(*encode_stored_png(noise(4, 4, 2)));
    const std::string good = chunk_data("glimmerly-document 1\n", text, frame_png);

    // A plus before the version is read; the frame PNG points into the bytes.
    scene.objects = {label(1, "a", {0, 0})};
    scene.last = 1;
    const auto plus = stored_document(scene, "+3");
    const auto document = read_vexil_document(plus);
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(document->scene, scene);
    EXPECT_EQ(as_string({document->frame_png.begin(), document->frame_png.end()}), frame_png);

    std::vector<std::uint8_t> flipped = picture_with_chunks({good});
    flipped[flipped.size() - 12 - 4 - 30] ^= 0x10;  // a data byte of the private chunk
    std::vector<std::uint8_t> cut = picture_with_chunks({good});
    cut.resize(cut.size() - 13);  // the end chunk and a byte of the private one
    const auto with_frame_count = [&](std::size_t count) {
        return picture_with_chunks({"glimmerly-document 1\n" + text + "frame-png " + std::to_string(count) + "\n" +
                                    frame_png});
    };

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
        {"version 9", stored_document(empty_scene(4, 4), "9"), Kind::Newer},
        {"version 0", stored_document(empty_scene(4, 4), "0"), Kind::Damaged},
        {"version beyond u32", stored_document(empty_scene(4, 4), "4294967296"), Kind::Damaged},
        {"header without line feed", picture_with_chunks({"glimmerly-document 1"}), Kind::Damaged},
        {"no frame-png line", picture_with_chunks({"glimmerly-document 1\n" + text}), Kind::Damaged},
        {"frame count one short", with_frame_count(frame_png.size() - 1), Kind::Damaged},
        {"frame count one over", with_frame_count(frame_png.size() + 1), Kind::Damaged},
        {"scene text refused", picture_with_chunks({chunk_data("glimmerly-document 1\n", text + "junk\n", frame_png)}),
         Kind::Damaged},
        {"scene needing a newer version than the header", stored_document(scene_with_every_kind()), Kind::Damaged},
        {"more than the size cap", std::vector<std::uint8_t>(kMaxDocumentBytes + 1, 0), Kind::Damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(failure_of(read_vexil_document(row.bytes)), document_read_error(row.kind));
    }
}

TEST(OpenVexilDocument, AFrameThatDoesNotFitTheSceneIsDamaged) {
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
        const auto bytes = stored_document(empty_scene(4, 4), "1", row.frame_png);
        ASSERT_TRUE(read_vexil_document(bytes).ok());
        const auto opened = open_vexil_document(bytes, kDecoder);
        EXPECT_EQ(failure_of(opened), row.opens ? Failure{} : document_read_error(Kind::Damaged));
    }
}

TEST(OpenVexilDocument, RenumbersASceneWhoseIdsWouldRunOut) {
    Scene scene = empty_scene(4, 4);
    scene.objects = {rectangle(std::numeric_limits<ObjectId>::max() - 1, {0, 0, 2, 2})};
    scene.last = std::numeric_limits<ObjectId>::max();
    const auto opened = open_vexil_document(stored_document(scene), kDecoder);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->scene.last, 1u);
    EXPECT_EQ(opened->scene.objects.at(0).id, 1u);
}

}  // namespace
}  // namespace glimmerly
