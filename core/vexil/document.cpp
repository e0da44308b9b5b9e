#include "core/vexil/document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "core/base/utf.h"
#include "core/blur/blur.h"
#include "core/editor/carry.h"
#include "core/editor/editor_state.h"
#include "core/base/stored_values.h"
#include "core/vexil/png.h"
#include "core/vexil/scene_text.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

constexpr std::string_view kHeaderWord = "glimmerly-document ";
constexpr std::string_view kFramePngWord = "frame-png ";

Failure not_editable_capture() { return make_app_error(TextId::error_not_editable_capture); }
Failure read_error(DocumentReadErrorKind kind) { return document_read_error(kind); }

std::string_view as_text(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The frame area to store: the selection rounded outward, grown by every
// monitor it touches so that the document keeps whole screens of context,
// in whole pixels within the frame. None when nothing of it is in the frame.
std::optional<PixelArea> kept_area(const EditorState& editor, const Box& selection) {
    const double frame_width = editor.frame_width;
    const double frame_height = editor.frame_height;
    if (editor.monitor_areas.empty())
        return whole_pixel_area({0, 0, frame_width, frame_height}, editor.frame_width, editor.frame_height);
    const Box rounded{std::floor(selection.left), std::floor(selection.top), std::ceil(selection.right),
                      std::ceil(selection.bottom)};
    Box kept = rounded;
    for (const MonitorArea& monitor : editor.monitor_areas) {
        const Box& m = monitor.rect;
        // A comparison with NaN fails, so a monitor with a NaN edge never grows the area.
        const bool overlaps =
            m.left < rounded.right && m.right > rounded.left && m.top < rounded.bottom && m.bottom > rounded.top;
        if (!overlaps) continue;
        kept = {std::min(kept.left, m.left), std::min(kept.top, m.top), std::max(kept.right, m.right),
                std::max(kept.bottom, m.bottom)};
    }
    return whole_pixel_area(kept, editor.frame_width, editor.frame_height);
}

BgraImage copy_area(const BgraImage& image, const PixelArea& area) {
    BgraImage out{std::vector<std::uint8_t>(std::size_t{area.width} * area.height * 4), area.width, area.height};
    const std::size_t row_bytes = std::size_t{area.width} * 4;
    for (std::uint32_t row = 0; row < area.height; ++row)
        std::memcpy(out.pixels.data() + row * row_bytes,
                    image.pixels.data() + (std::size_t{area.top + row} * image.width + area.left) * 4, row_bytes);
    return out;
}

// The objects that can show in the kept area, moved into its coordinates;
// lines fastened to objects left out come loose where they are drawn.
std::vector<SceneObject> kept_objects(std::span<const SceneObject> objects, const PixelArea& area) {
    const Box box = area.box();
    const Point offset{-static_cast<double>(area.left), -static_cast<double>(area.top)};
    std::vector<ObjectId> ids;
    ClippedObjects probe = clip_objects_to_rect(objects, box, {}, false, {});
    while (const auto object = probe.next()) ids.push_back(object->id);
    std::vector<SceneObject> kept;
    kept.reserve(ids.size());
    ClippedObjects carried = clip_objects_to_rect(objects, box, ids, true, offset);
    while (auto object = carried.next()) kept.push_back(std::move(*object));
    return kept;
}

std::int32_t wrapping_add(std::int32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + b);
}

template <class Integer>
void append_integer(std::string& out, Integer value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

}  // namespace

Result<std::vector<std::uint8_t>> write_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                       ScreenOrigin frame_origin, const BgraImage& picture,
                                                       const PngEncoder& encode_png) {
    if (!editor.capture_selection || !is_valid_bgra_image(frame) || frame.width != editor.frame_width ||
        frame.height != editor.frame_height || !encode_png)
        return not_editable_capture();
    const Box& selection = *editor.capture_selection;

    const BlurredImage blurred = blur_regions(frame, editor.objects);
    const auto area = kept_area(editor, selection);
    if (!area) return not_editable_capture();

    Scene scene;
    scene.objects = kept_objects(editor.objects, *area);
    scene.background = editor.background;
    renumber_object_ids(scene.objects, scene.background);
    scene.frame = {area->width, area->height};
    scene.origin = {wrapping_add(frame_origin.x, area->left), wrapping_add(frame_origin.y, area->top)};
    scene.region = {selection.left - area->left, selection.top - area->top, selection.right - area->left,
                    selection.bottom - area->top};
    // Renumbering gave ids 1..n; an editor whose own ids started at 0 may
    // have handed out fewer.
    scene.last = std::max<ObjectId>(editor.last_id, scene.objects.size());

    auto picture_png = encode_png(picture);
    if (!picture_png) return std::move(picture_png).failure();
    auto frame_png = encode_png(copy_area(blurred.image(), *area));
    if (!frame_png) return std::move(frame_png).failure();

    // What the reader would refuse is not saved: the user would keep a file
    // that can never be edited again.
    if (!check_scene_storable(scene)) return not_editable_capture();
    std::string head(kHeaderWord);
    append_integer(head, scene_format_version(scene));
    head.push_back('\n');
    head += write_scene_text(scene);
    head += kFramePngWord;
    append_integer(head, frame_png->size());
    head.push_back('\n');
    if (head.size() + frame_png->size() > kMaxPngChunkData) return not_editable_capture();
    std::vector<std::uint8_t> data;
    data.reserve(head.size() + frame_png->size());
    data.insert(data.end(), head.begin(), head.end());
    data.insert(data.end(), frame_png->begin(), frame_png->end());

    const auto chunks = walk_png_chunks(*picture_png);
    if (!chunks) return not_editable_capture();
    for (const PngChunk& chunk : *chunks)
        if (chunk.type_name() == kDocumentChunkType) return not_editable_capture();
    const PngChunk& end_chunk = chunks->back();
    const std::uint64_t total = std::uint64_t{end_chunk.offset} + 12 + data.size() + end_chunk.size();
    if (total > kMaxDocumentBytes) return not_editable_capture();

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(total));
    out.insert(out.end(), picture_png->begin(), picture_png->begin() + end_chunk.offset);
    append_png_chunk(out, kDocumentChunkType, data);
    const auto end_bytes = std::span(*picture_png).subspan(end_chunk.offset, end_chunk.size());
    out.insert(out.end(), end_bytes.begin(), end_bytes.end());
    return out;
}

Result<EditableDocument> read_vexil_document(std::span<const std::uint8_t> bytes) {
    using Kind = DocumentReadErrorKind;
    if (bytes.size() > kMaxDocumentBytes) return read_error(Kind::Damaged);
    if (!has_png_signature(bytes)) return read_error(Kind::NotEditable);
    const auto chunks = walk_png_chunks(bytes);
    if (!chunks) return read_error(Kind::Damaged);
    const PngChunk* found = nullptr;
    std::size_t count = 0;
    for (const PngChunk& chunk : *chunks) {
        if (chunk.type_name() != kDocumentChunkType) continue;
        ++count;
        found = &chunk;
    }
    if (count == 0) return read_error(Kind::NotEditable);
    if (count > 1 || !found->crc_matches()) return read_error(Kind::Damaged);

    const std::string_view data = as_text(found->data);
    const std::size_t header_end = data.find('\n');
    if (header_end == std::string_view::npos) return read_error(Kind::Damaged);
    const std::string_view header = data.substr(0, header_end);
    if (header.substr(0, kHeaderWord.size()) != kHeaderWord) return read_error(Kind::Damaged);
    const auto version = parse_decimal(header.substr(kHeaderWord.size()));
    if (!version || *version < kOldestSceneFormat) return read_error(Kind::Damaged);
    if (*version > kNewestSceneFormat) return read_error(Kind::Newer);

    const std::size_t body = header_end + 1;
    if (body >= data.size()) return read_error(Kind::Damaged);
    std::size_t pos = body;
    while (true) {
        const std::size_t line_end = data.find('\n', pos);
        if (line_end == std::string_view::npos) return read_error(Kind::Damaged);
        const std::string_view line = data.substr(pos, line_end - pos);
        if (line.substr(0, kFramePngWord.size()) == kFramePngWord) {
            const auto length = parse_decimal_u64(line.substr(kFramePngWord.size()));
            const std::size_t png_start = line_end + 1;
            if (!length || *length != data.size() - png_start) return read_error(Kind::Damaged);
            const std::string_view text = data.substr(body, pos - body);
            auto scene = read_scene_text(text, *version);
            if (!scene) return read_error(Kind::Damaged);
            renumber_exhausted_ids(*scene);
            return EditableDocument{std::move(*scene), found->data.subspan(png_start)};
        }
        pos = line_end + 1;
    }
}

Result<OpenedDocument> open_vexil_document(std::span<const std::uint8_t> bytes, const PngDecoder& decode_png) {
    auto document = read_vexil_document(bytes);
    if (!document) return std::move(document).failure();
    if (!decode_png) return read_error(DocumentReadErrorKind::Damaged);
    auto frame = decode_png(document->frame_png);
    // A scene over a frame of another size would put every annotation in the
    // wrong place, and one without a frame cannot be edited at all.
    if (!frame || !is_valid_bgra_image(*frame) || frame->width != document->scene.frame.width ||
        frame->height != document->scene.frame.height)
        return read_error(DocumentReadErrorKind::Damaged);
    return OpenedDocument{std::move(document->scene), std::move(*frame)};
}

}  // namespace glimmerly
