// Writes one editable document, as the program saves it, to the path given
// on the command line, so that PNG readers that share no code with the
// program can check it (tests/tools/check_document_png.py).

#include <windows.h>

#include <cstdio>
#include <random>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "core/editor/editor_state.h"
#include "tests/core/support/scenes.h"
#include "app/app/document.h"

namespace {

glimmerly::BgraImage noise(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    glimmerly::BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    return image;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace glimmerly;
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_sample_document OUTPUT\n");
        return 2;
    }
    win::ComApartment com;
    if (!com.initialized()) return 1;

    const Scene drawn = testing::scene_with_every_kind();
    const BgraImage frame = noise(drawn.frame.width, drawn.frame.height, 1);
    EditorState editor;
    editor.frame_width = frame.width;
    editor.frame_height = frame.height;
    editor.capture_selection = drawn.region;
    editor.objects = drawn.objects;
    editor.background = drawn.background;
    editor.last_id = drawn.last;
    const auto bytes = encode_vexil_document(editor, frame, drawn.origin, noise(300, 200, 2));
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
