#include "app/demo/render_demo.h"

#include <windows.h>

#include <string>

#include "app/demo/demo_pages.h"
#include "app/demo/demo_surface.h"
#include "app/demo/demo_views.h"
#include "app/demo/label_pictures.h"
#include "app/demo/presentation_pictures.h"
#include "app/demo/shape_scales.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/demo/demo_scenes.h"

namespace glimmerly {
namespace {

// The system's description of the error, under E_FAIL like any I/O failure.
Failure directory_failure() {
    const DWORD error = GetLastError();
    std::string text = win::system_message(static_cast<std::int32_t>(error));
    if (text.empty()) text = "The current directory could not be read";
    return plain_failure(std::move(text));
}

Result<std::wstring> current_directory() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return directory_failure();
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    if (written == 0 || written >= length) return directory_failure();
    folder.resize(written);
    return folder;
}

}  // namespace

Status render_demo_images() {
    EditorState state = demo_editing_state();

    auto made = create_renderer_resources(false, false);
    if (!made) return std::move(made).failure();
    RendererResources& resources = **made;
    const std::span<const SceneObject> objects(state.objects.data(), state.objects.size());
    auto title = render_capture_region(resources, state.frozen_frame, {}, objects, Box{0, 0, kDemoWidth, kDemoHeight});
    if (!title) return std::move(title).failure();

    auto folder = current_directory();
    if (!folder) return std::move(folder).failure();
    const std::wstring title_path = win::join_path(win::join_path(*folder, L"target"), L"glimmerly-demo.png");
    GLIM_TRY(save_demo_picture(*title, title_path));
    title = BgraImage{};

    // Every picture of the stage draws through this one record's factories:
    // under Wine each factory costs a Direct3D device of its own.
    select_demo_region(state, kDemoPage);
    GLIM_TRY(give_demo_renderer(state, resources));
    GLIM_TRY(render_editor_views(state, resources, title_path));
    GLIM_TRY(render_shape_scales(resources, sibling_path(title_path, L"glimmerly-shape-scales.png")));
    GLIM_TRY(render_label_samples(resources, sibling_path(title_path, L"glimmerly-labels.png")));
    GLIM_TRY(render_hover_steps(resources, sibling_path(title_path, L"glimmerly-elbow-arrows.png")));
    GLIM_TRY(render_blur_sample(resources, sibling_path(title_path, L"glimmerly-blur.png")));
    return render_interface_with_tools(resources);
}

Status run_render_demo() {
    GLIM_TRY(render_demo_images());
    return render_demo_pages();
}

}  // namespace glimmerly
