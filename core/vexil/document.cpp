#include "core/vexil/document.h"

#include <charconv>
#include <new>
#include <string>
#include <string_view>

#include "core/base/stored_values.h"
#include "core/document/scene_text.h"
#include "core/vexil/png.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using Kind = DocumentReadErrorKind;

constexpr std::string_view kHeaderWord = "glimmerly-document ";
constexpr std::string_view kFramePngWord = "frame-png ";

Failure not_editable_capture(std::string detail) {
    return make_app_error(TextId::error_not_editable_capture, {{"detail", std::move(detail)}});
}

Failure damaged(std::string_view detail) { return document_read_error(Kind::Damaged, detail); }

std::string_view as_text(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

template <class Integer>
void append_integer(std::string& out, Integer value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

Result<std::vector<std::uint8_t>> write_document(const Scene& scene, std::span<const std::uint8_t> picture_png,
                                                 std::span<const std::uint8_t> frame_png) {
    if (auto storable = check_scene_storable(scene); !storable)
        return not_editable_capture(storable.failure().message);
    if (png_header_size(frame_png) != PngSize{scene.frame.width, scene.frame.height})
        return not_editable_capture("The frame PNG is not of the scene's frame size");

    std::string head(kHeaderWord);
    append_integer(head, scene_format_version(scene));
    head.push_back('\n');
    head += write_scene_text(scene);
    head += kFramePngWord;
    append_integer(head, frame_png.size());
    head.push_back('\n');
    if (head.size() + frame_png.size() > kMaxPngChunkData)
        return not_editable_capture("The scene and frame pass the PNG chunk limit");

    // The chunk goes before the picture's end chunk; a picture already
    // carrying one would be read as damaged.
    std::optional<PngChunk> end_chunk;
    PngChunkWalker walk(picture_png);
    while (const auto chunk = walk.next()) {
        if (chunk->type_name() == kDocumentChunkType)
            return not_editable_capture("The picture PNG already carries a document chunk");
        end_chunk = chunk;
    }
    if (!walk.complete()) return not_editable_capture("The picture PNG has no whole chunk list");
    const std::uint64_t total = std::uint64_t{end_chunk->offset} + 12 + head.size() + frame_png.size() +
                                end_chunk->size();
    if (total > kMaxDocumentBytes) return not_editable_capture("The document would pass 256 MiB");

    std::vector<std::uint8_t> data;
    data.reserve(head.size() + frame_png.size());
    data.insert(data.end(), head.begin(), head.end());
    data.insert(data.end(), frame_png.begin(), frame_png.end());
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(total));
    out.insert(out.end(), picture_png.begin(), picture_png.begin() + end_chunk->offset);
    append_png_chunk(out, kDocumentChunkType, data);
    const auto end_bytes = picture_png.subspan(end_chunk->offset, end_chunk->size());
    out.insert(out.end(), end_bytes.begin(), end_bytes.end());
    return out;
}

Result<EditableDocument> read_document(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxDocumentBytes) return damaged("The file passes 256 MiB");
    if (!has_png_signature(bytes)) return document_read_error(Kind::NotEditable);
    std::optional<PngChunk> found;
    std::size_t count = 0;
    PngChunkWalker walk(bytes);
    while (const auto chunk = walk.next())
        if (chunk->type_name() == kDocumentChunkType) {
            ++count;
            found = chunk;
        }
    if (!walk.complete()) return damaged("A PNG chunk runs past the end, or no end chunk comes");
    if (count == 0) return document_read_error(Kind::NotEditable);
    if (count > 1) return damaged("The file carries two document chunks");
    if (!found->crc_matches()) return damaged("The document chunk's checksum does not match");

    const std::string_view data = as_text(found->data);
    const std::size_t header_end = data.find('\n');
    if (header_end == std::string_view::npos || data.substr(0, kHeaderWord.size()) != kHeaderWord)
        return damaged("The document chunk has no header line");
    const auto version = parse_decimal(data.substr(kHeaderWord.size(), header_end - kHeaderWord.size()));
    if (!version || *version < kOldestSceneFormat) return damaged("The document's version is not understood");
    if (*version > kNewestSceneFormat) return document_read_error(Kind::Newer);

    // The scene text runs up to the first "frame-png" line.
    const std::size_t body = header_end + 1;
    std::size_t pos = body;
    while (true) {
        const std::size_t line_end = data.find('\n', pos);
        if (line_end == std::string_view::npos) return damaged("The document chunk has no frame PNG");
        const std::string_view line = data.substr(pos, line_end - pos);
        if (line.substr(0, kFramePngWord.size()) == kFramePngWord) {
            const auto length = parse_decimal_u64(line.substr(kFramePngWord.size()));
            const std::size_t png_start = line_end + 1;
            if (!length || *length != data.size() - png_start)
                return damaged("The frame PNG's length is not what is left of the chunk");
            auto scene = read_scene_text(data.substr(body, pos - body), *version);
            if (!scene)
                return scene.failure().code == E_OUTOFMEMORY_CODE ? std::move(scene).failure()
                                                                    : damaged(scene.failure().message);
            renumber_exhausted_ids(*scene);
            return EditableDocument{std::move(*scene), found->data.subspan(png_start)};
        }
        pos = line_end + 1;
    }
}

Result<OpenedDocument> open_document(std::span<const std::uint8_t> bytes, const PngDecoder& decode_png,
                                     const FrameCheck& accept_frame) {
    auto document = read_document(bytes);
    if (!document) return std::move(document).failure();
    // A scene over a frame of another size would put every annotation in the
    // wrong place, and one without a frame cannot be edited at all.
    const FrameSize expected = document->scene.frame;
    // Judged from the scene's numbers before a pixel is allocated: a size no
    // picture can have is refused, not handed to the decoder.
    if (expected.width == 0 || expected.height == 0 || expected.width >= 0x20000000u || expected.height > 0x7FFFFFFFu)
        return damaged("The frame's size is not a picture's");
    if (png_header_size(document->frame_png) != PngSize{expected.width, expected.height})
        return damaged("The frame PNG's header is not of the scene's frame size");
    if (accept_frame) GLIM_TRY(accept_frame(document->scene));
    if (!decode_png) return damaged("No PNG decoder");
    auto frame = decode_png(document->frame_png, expected);
    if (!frame && frame.failure().code == E_OUTOFMEMORY_CODE) return std::move(frame).failure();
    if (!frame) return damaged(frame.failure().message);
    if (!is_valid_bgra_image(*frame) || frame->width != expected.width || frame->height != expected.height)
        return damaged("The frame PNG did not decode to the scene's frame size");
    return OpenedDocument{std::move(document->scene), std::move(*frame)};
}

}  // namespace

Result<std::vector<std::uint8_t>> write_vexil_document(const Scene& scene, std::span<const std::uint8_t> picture_png,
                                                       std::span<const std::uint8_t> frame_png) {
    try {
        return write_document(scene, picture_png, frame_png);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Writing an editable document");
    }
}

Result<EditableDocument> read_vexil_document(std::span<const std::uint8_t> bytes) {
    try {
        return read_document(bytes);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Reading an editable document");
    }
}

Result<OpenedDocument> open_vexil_document(std::span<const std::uint8_t> bytes, const PngDecoder& decode_png,
                                           const FrameCheck& accept_frame) {
    try {
        return open_document(bytes, decode_png, accept_frame);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Opening an editable document");
    }
}

}  // namespace glimmerly
