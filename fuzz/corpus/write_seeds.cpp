// Writes the seed corpora of the fuzz targets with the program's own
// writers. Built in the fuzz tree (scripts/test builds it); after changing a
// format, from the repository root:
//
//   build/fuzz/fuzz/write_seeds fuzz/corpus

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/board/board_base.h"
#include "core/board/board_file.h"
#include "core/editor/capture_document.h"
#include "core/editor/editor_state.h"
#include "core/vexil/document.h"
#include "core/document/scene_text.h"
#include "tests/core/support/png.h"
#include "tests/core/support/scenes.h"

namespace {

using namespace glimmerly;
using namespace glimmerly::testing;

bool save(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool save_scene(const std::string& folder, const char* name, const Scene& scene) {
    std::string bytes(1, static_cast<char>(scene_format_version(scene)));
    bytes += write_scene_text(scene);
    return save(folder + "/scene_text_fuzz/" + name, bytes);
}

bool save_board(const std::string& folder, const char* name, const BoardFile& board) {
    const auto text = write_board_file(board);
    return text && save(folder + "/board_fuzz/" + name, *text);
}

bool save_base(const std::string& folder, const char* name, const BoardBase& base) {
    return save(folder + "/board_base_fuzz/" + name, format_board_base(base));
}

BgraImage gradient(std::uint32_t width, std::uint32_t height) {
    BgraImage image{{}, width, height};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            image.pixels.insert(image.pixels.end(), {static_cast<std::uint8_t>(x * 4),
                                                     static_cast<std::uint8_t>(y * 4),
                                                     static_cast<std::uint8_t>(x ^ y), 255});
    return image;
}

bool save_document(const std::string& folder, const char* name, const std::vector<SceneObject>& objects,
                   std::vector<MonitorArea> monitors) {
    const BgraImage frame = gradient(48, 32);
    EditorState editor;
    editor.frame_width = frame.width;
    editor.frame_height = frame.height;
    editor.capture_selection = Box{4.5, 3, 30, 20.25};
    editor.monitor_areas = std::move(monitors);
    editor.objects = objects;
    editor.last_id = objects.empty() ? 0 : objects.back().id;
    const auto document = compose_capture_document(editor, frame, {-8, 16});
    const auto picture = encode_stored_png(gradient(6, 4));
    const auto frame_png = document ? encode_stored_png(document->frame) : picture;
    if (!document || !picture || !frame_png) return false;
    const auto bytes = write_vexil_document(document->scene, *picture, *frame_png);
    if (!bytes) return false;
    return save(folder + "/document_fuzz/" + name,
                std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];

    Scene labels = empty_scene();
    labels.objects = {label(1, "Fit", {10, 10}), label(2, "Wrapped", {10, 50}, LabelMode::wrap(60))};
    labels.last = 2;
    Scene fills = empty_scene();
    fills.objects = {rectangle(1, {0, 0, 50, 50}), ellipse(2, {20, 20, 80, 90})};
    fills.objects[1].fill = {FillRegion{{1, 2}, Rgb{1, 2, 3}}};
    fills.background = {FillRegion{{1}, Rgb{9, 8, 7}}, FillRegion{{}, Rgb{}}};
    fills.last = 4;
    Scene blurred = empty_scene();
    blurred.objects = {blur(3, {5, 5, 100, 60}, 20)};
    blurred.last = 3;
    bool ok = save_scene(folder, "empty.txt", empty_scene()) &&
              save_scene(folder, "every-kind.txt", scene_with_every_kind()) &&
              save_scene(folder, "labels.txt", labels) && save_scene(folder, "fills.txt", fills) &&
              save_scene(folder, "blur.txt", blurred) && save_scene(folder, "many.txt", scene_of_many_objects(25));

    ok = ok && save_board(folder, "empty.txt", {}) &&
         save_board(folder, "two-screens.txt", {{{"\\\\.\\DISPLAY1", labels}, {"\\\\.\\DISPLAY2", fills}}}) &&
         save_board(folder, "every-kind.txt", {{{"Screen-1", scene_with_every_kind()}, {"Screen-2", blurred}}});
    ok = ok && save_base(folder, "no-screens.txt", BoardBase{{}, WallpaperPosition::Fill, Rgb{0, 0, 0}}) &&
         save_base(folder, "two-screens.txt",
                   BoardBase{{{"\\\\?\\DISPLAY#GSM5B09#5&1a2b&0&UID4352#{e6f07b5f}", u"C:\\Pics\\Sea.jpg",
                               u"C:\\Users\\u\\AppData\\Local\\Glimmerly\\board\\baked-DISPLAYGSM5B0951a2b0UID4-0123456789abcdef.png"},
                              {"DISPLAY2", std::nullopt, std::nullopt}},
                             WallpaperPosition::Span, Rgb{0x12, 0xAB, 0xFF}});

    SceneObject tied = line(4, {10, 10}, {40, 25});
    std::get<LinePayload>(tied.payload).end = ObjectAttachment{2, {0, 0}};
    const std::vector<SceneObject> objects = {rectangle(1, {5, 5, 20, 15}), ellipse(2, {25, 18, 45, 30}),
                                              blur(3, {30, 2, 46, 12}), tied, text(5, "Hi", {6, 20})};
    ok = ok && save_document(folder, "plain.vexil", {rectangle(1, {5, 5, 20, 15})}, {}) &&
         save_document(folder, "kinds.vexil", objects,
                       {MonitorArea{{0, 0, 24, 32}, 1.0}, MonitorArea{{24, 0, 48, 32}, 1.0}});
    if (!ok) std::fprintf(stderr, "writing a seed failed\n");
    return ok ? 0 : 1;
}
