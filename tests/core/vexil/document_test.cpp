#include "core/vexil/document.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/document/scene_text.h"
#include "core/vexil/png.h"
#include "tests/core/support/png.h"
#include "tests/core/support/scenes.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Kind = DocumentReadErrorKind;
using Bytes = std::vector<std::uint8_t>;

Bytes noise_png(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    return *encode_stored_png(noise_image(width, height, seed));
}

// The kind of a document read error, whatever detail it carries.
std::optional<Kind> kind_of(const Failure& failure) {
    for (const Kind kind : {Kind::NotEditable, Kind::Newer, Kind::Damaged}) {
        const Failure bare = document_read_error(kind);
        if (failure.code == bare.code && failure.message.starts_with(bare.message)) return kind;
    }
    return std::nullopt;
}

// The picture with the given chunks put before its end, each with a correct CRC.
Bytes with_chunks(const Bytes& png, const std::vector<std::string>& datas, std::string_view type = "vxIL") {
    Bytes out(png.begin(), png.end() - 12);  // IEND is 12 bytes
    for (const std::string& data : datas)
        append_png_chunk(out, type, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    out.insert(out.end(), png.end() - 12, png.end());
    return out;
}

std::string chunk_data(std::string_view version, const Scene& scene, const Bytes& frame_png) {
    return "glimmerly-document " + std::string(version) + "\n" + write_scene_text(scene) + "frame-png " +
           std::to_string(frame_png.size()) + "\n" + std::string(frame_png.begin(), frame_png.end());
}

const Bytes kPicture = noise_png(4, 4, 1);

Bytes stored_document(const Scene& scene, std::string_view version = "1", const Bytes& frame_png = noise_png(4, 4, 2)) {
    return with_chunks(kPicture, {chunk_data(version, scene, frame_png)});
}

// Any viewer shows the picture; the private chunk sits last before the end,
// headed by the scene's version.
TEST(VexilDocument, EveryKindIsStoredInOneChunkBeforeThePicturesEndAndOpensWithItsFrame) {
    const Scene scene = scene_with_every_kind();
    const Bytes frame = noise_png(800, 600, 3), picture = noise_png(32, 16, 99);
    const auto bytes = write_vexil_document(scene, picture, frame);
    ASSERT_TRUE(bytes.ok()) << bytes.failure().message;
    EXPECT_EQ(*bytes, with_chunks(picture, {chunk_data("8", scene, frame)}));
    const auto opened = open_vexil_document(*bytes, decode_stored_png_of);
    ASSERT_TRUE(opened.ok()) << opened.failure().message;
    EXPECT_EQ(opened->scene, scene);
    EXPECT_EQ(opened->frame.pixels, decode_stored_png(frame)->pixels);
}

TEST(VexilDocumentWriter, RefusesWhatItsReaderWouldRefuseNamingTheCause) {
    const Scene scene = empty_scene(4, 4);
    const Bytes frame = noise_png(4, 4, 2);
    Scene invalid = scene;
    invalid.frame.width = 0;
    const Bytes cut(kPicture.begin(), kPicture.end() - 12);
    struct Row { const char* name; Result<Bytes> result; };
    const Row rows[] = {
        {"scene that fails validation", write_vexil_document(invalid, kPicture, frame)},
        {"frame of another size than the scene's", write_vexil_document(scene, kPicture, noise_png(5, 4, 2))},
        {"picture without an end chunk", write_vexil_document(scene, cut, frame)},
        {"picture that already carries the chunk", write_vexil_document(scene, with_chunks(kPicture, {"x"}), frame)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.result.ok());
        const auto parsed = parse_app_error(row.result.failure());
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->text, TextId::error_not_editable_capture);
        ASSERT_EQ(parsed->args.size(), 1u);
        EXPECT_EQ(parsed->args[0].first, "detail");
        EXPECT_FALSE(parsed->args[0].second.empty());
    }
}

TEST(VexilDocumentReader, ReportsEachFaultAsNotEditableNewerOrDamaged) {
    const Scene scene = empty_scene(4, 4);
    const Bytes frame_png = noise_png(4, 4, 2);
    const std::string good = chunk_data("1", scene, frame_png);
    // A plus before the version is read, and the frame PNG points into the bytes.
    const Bytes plus = stored_document(scene, "+3");
    const auto document = read_vexil_document(plus);
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(document->scene, scene);
    EXPECT_EQ(Bytes(document->frame_png.begin(), document->frame_png.end()), frame_png);

    Bytes flipped = with_chunks(kPicture, {good});
    flipped[flipped.size() - 12 - 4 - 30] ^= 0x10;  // a data byte of the private chunk
    Bytes cut = with_chunks(kPicture, {good});
    cut.resize(cut.size() - 13);  // the end chunk and a byte of the private one
    const auto with_frame_count = [&](std::size_t count) {
        std::string data = good;
        const std::size_t at = data.find("frame-png ") + 10;
        data.replace(at, std::to_string(frame_png.size()).size(), std::to_string(count));
        return with_chunks(kPicture, {data});
    };
    struct Row { const char* name; Bytes bytes; Kind kind; };
    const Row rows[] = {
        {"not a PNG", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}, Kind::NotEditable},
        {"PNG without the chunk", kPicture, Kind::NotEditable},
        {"a chunk of another private type", with_chunks(kPicture, {good}, "vxIl"), Kind::NotEditable},
        {"two chunks, both correct", with_chunks(kPicture, {good, good}), Kind::Damaged},
        {"one flipped bit", flipped, Kind::Damaged},
        {"chunk running past the end", cut, Kind::Damaged},
        {"version 9", stored_document(scene, "9"), Kind::Newer},
        {"version 0", stored_document(scene, "0"), Kind::Damaged},
        {"version beyond u32", stored_document(scene, "4294967296"), Kind::Damaged},
        {"header without line feed", with_chunks(kPicture, {"glimmerly-document 1"}), Kind::Damaged},
        {"no frame-png line", with_chunks(kPicture, {good.substr(0, good.find("frame-png"))}), Kind::Damaged},
        {"frame count one short", with_frame_count(frame_png.size() - 1), Kind::Damaged},
        {"frame count one over", with_frame_count(frame_png.size() + 1), Kind::Damaged},
        {"scene needing a newer version than the header", stored_document(scene_with_every_kind()), Kind::Damaged},
        {"more than the size cap", Bytes(kMaxDocumentBytes + 1, 0), Kind::Damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = read_vexil_document(row.bytes);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(kind_of(read.failure()), row.kind);
    }
}

TEST(OpenVexilDocument, AFrameNotOfTheScenesSizeIsDamagedAndNeverDecodedWhole) {
    // A 4 x 4 frame whose header claims 30000 x 30000: a decoder that trusted
    // the header would ask for 3.6 GB.
    Bytes claiming = noise_png(4, 4, 1);
    for (const std::size_t at : {16u, 20u}) {
        claiming[at + 2] = 0x75;  // 0x00007530 = 30000
        claiming[at + 3] = 0x30;
    }
    const std::uint32_t crc = png_crc32(std::span(claiming).subspan(12, 17));
    for (int i = 0; i < 4; ++i) claiming[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    ASSERT_EQ(png_header_size(claiming), (PngSize{30000, 30000}));

    struct Row { const char* name; Bytes frame_png; bool opens; };
    const Row rows[] = {
        {"frame of the scene's size", noise_png(4, 4, 1), true},
        {"frame one pixel wider", noise_png(5, 4, 1), false},
        {"header claiming 30000 x 30000", claiming, false},
        {"frame that does not decode", {'n', 'o'}, false},
        {"no frame bytes", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // What a platform decoder would allocate for the header it is handed.
        std::uint64_t largest_request = 0;
        const PngDecoder recording = [&](std::span<const std::uint8_t> png, FrameSize expected) {
            if (const auto size = png_header_size(png))
                largest_request = std::max(largest_request, std::uint64_t{size->width} * size->height * 4);
            return decode_stored_png_of(png, expected);
        };
        const auto opened = open_vexil_document(stored_document(empty_scene(4, 4), "1", row.frame_png), recording);
        EXPECT_EQ(opened.ok(), row.opens);
        if (!row.opens) {
            EXPECT_EQ(kind_of(opened.failure()), Kind::Damaged);
        }
        EXPECT_LE(largest_request, 4u * 4 * 4);
    }
}

TEST(OpenVexilDocument, AFrameSizeNoPictureCanHaveIsDamagedBeforeTheDecoderIsAsked) {
    const FrameSize sizes[] = {{0, 4}, {4, 0}, {0x20000000, 1}};
    for (const FrameSize size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
        // A frame PNG whose header agrees with the scene, so that only the size itself is wrong.
        Bytes claiming = noise_png(4, 4, 1);
        for (int i = 0; i < 4; ++i) {
            claiming[16 + i] = static_cast<std::uint8_t>(size.width >> (24 - 8 * i));
            claiming[20 + i] = static_cast<std::uint8_t>(size.height >> (24 - 8 * i));
        }
        const std::uint32_t crc = png_crc32(std::span(claiming).subspan(12, 17));
        for (int i = 0; i < 4; ++i) claiming[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        int decoded = 0;
        const PngDecoder counting = [&](std::span<const std::uint8_t> png, FrameSize expected) {
            ++decoded;
            return decode_stored_png_of(png, expected);
        };
        const auto opened = open_vexil_document(stored_document(empty_scene(size.width, size.height), "1", claiming),
                                                counting);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(kind_of(opened.failure()), Kind::Damaged);
        EXPECT_EQ(decoded, 0);
    }
}

TEST(OpenVexilDocument, RenumbersASceneWhoseIdsWouldRunOut) {
    Scene scene = empty_scene(4, 4);
    scene.objects = {rectangle(std::numeric_limits<ObjectId>::max() - 1, {0, 0, 2, 2})};
    scene.last = std::numeric_limits<ObjectId>::max();
    const auto opened = open_vexil_document(stored_document(scene), decode_stored_png_of);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->scene.last, 1u);
    EXPECT_EQ(opened->scene.objects.at(0).id, 1u);
}

}  // namespace
}  // namespace glimmerly
