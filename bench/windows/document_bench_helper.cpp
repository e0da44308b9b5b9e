// Writes the editable document of bench/document_open.py: a 1920 x 1080
// capture of a noisy screen (so that its PNGs are of a real screen's size)
// with a few objects, taken at the virtual screen's corner.
//   document_bench_helper OUTPUT

#include <windows.h>

#include <cstdio>
#include <random>

#include "app/app/document.h"
#include "app/win/com.h"
#include "core/editor/editor_state.h"

int wmain(int argc, wchar_t** argv) {
    using namespace glimmerly;
    if (argc != 2) {
        std::fprintf(stderr, "usage: document_bench_helper OUTPUT\n");
        return 2;
    }
    win::ComApartment com;
    if (!com.initialized()) return 1;
    constexpr std::uint32_t width = 1920, height = 1080;
    BgraImage frame{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < frame.pixels.size(); i += 4) {
        // Smooth runs with some noise, as screens are: neither all alike nor all random.
        const std::uint8_t shade = static_cast<std::uint8_t>((i / 4) % width / 8 + (rng() & 15));
        frame.pixels[i] = shade, frame.pixels[i + 1] = static_cast<std::uint8_t>(shade / 2 + 60);
        frame.pixels[i + 2] = static_cast<std::uint8_t>(200 - shade / 2), frame.pixels[i + 3] = 0xFF;
    }
    EditorState editor;
    editor.frame_width = width;
    editor.frame_height = height;
    editor.capture_selection = Box{200, 150, 1700, 950};
    for (ObjectId id = 1; id <= 12; ++id) {
        const double x = 220.0 + 110.0 * static_cast<double>(id);
        editor.objects.push_back(SceneObject{id, RectanglePayload{Box{x, 200, x + 90, 700}}, Rgb{237, 79, 92}, 3.0,
                                             0.0, {}});
    }
    editor.last_id = 12;
    const auto bytes = encode_vexil_document(editor, frame, ScreenOrigin{0, 0}, frame);
    if (!bytes) {
        std::fprintf(stderr, "%s\n", bytes.failure().message.c_str());
        return 1;
    }
    HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes->size() ? 0 : 1;
}
