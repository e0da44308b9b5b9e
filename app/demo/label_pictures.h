#pragma once
// The demonstration pictures of labels: the label samples on a light and a
// dark ground, arrows drawn from labels' connector points, and a blurred
// area over invented personal data.

#include <string>

#include "app/render/renderer_resources.h"
#include "core/base/result.h"

namespace glimmerly {

Status render_label_samples(RendererResources& resources, const std::wstring& path);  // 900 x 520
Status render_hover_steps(RendererResources& resources, const std::wstring& path);    // 1100 x 680
Status render_blur_sample(RendererResources& resources, const std::wstring& path);    // 1100 x 680

}  // namespace glimmerly
