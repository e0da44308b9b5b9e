#pragma once
// The scene as stored text: the body of an editable document and of each
// screen of the board file. Lines of UTF-8 ended by a line feed; numbers in
// the shortest decimal form that reads back to the same value. The reader is
// strict: anything it does not recognise refuses the whole text, and the
// container reports itself damaged rather than open a scene that is partly
// wrong.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/document/scene.h"

namespace glimmerly {

// The container versions a scene can need; a newer one is refused.
inline constexpr std::uint32_t kOldestSceneFormat = 1;
inline constexpr std::uint32_t kNewestSceneFormat = 8;
// Stroke points, stroke widths, fill regions and fill ids over one text.
inline constexpr std::size_t kMaxSceneTextElements = 4'000'000;
// Hex digits of a "text" value: two per byte of the longest text.
inline constexpr std::size_t kMaxTextHexDigits = 2 * kMaxTextBytes;
// The most "key=value" tokens an object line can hold (an arrow or a text
// with every optional key); a line with more is refused on the spot rather
// than stored whole, which for a long line of short tokens took twenty
// times the text in memory.
inline constexpr std::size_t kMaxObjectLineTokens = 12;

// The lowest container version, 1..8, that can hold the scene.
std::uint32_t scene_format_version(const Scene& scene);

// The text of the scene. It does not validate: callers that store the text
// check the scene first (check_scene_storable).
std::string write_scene_text(const Scene& scene);

// Appends a fill list: regions joined by ";", each a colour followed, when it
// names ids, by "/" and the ids joined by ",".
void write_fill_regions(std::string& out, std::span<const FillRegion> regions);

// The number as the shortest decimal that reads back to exactly the same
// value, never in exponent form ("3", "0.1", "-0", "0.0000001").
void append_number(std::string& out, double value);

// The scene of a text from a container of the given version (1..8). Refused
// with E_INVALIDARG, naming the line, when anything in it is unknown,
// repeated, out of range or newer than the version, or the scene fails
// validation; E_OUTOFMEMORY when its lists cannot be had. The reader needs
// no more than a small multiple of the text's size.
Result<Scene> read_scene_text(std::string_view text, std::uint32_t version);

// Whether the reader would take the scene back: it passes validation, its
// texts are UTF-8, and its lists stay within the reader's element count.
// Writers check this so that they never store what they cannot read.
Status check_scene_storable(const Scene& scene);

// A stored id counter this high did not come from editing (no session hands
// out that many ids); left as it is, the next ids would soon run out.
inline constexpr ObjectId kMaxLoadedLastId = ObjectId{1} << 62;

// Gives a loaded scene whose id counter is above kMaxLoadedLastId the ids
// 1..n and a counter of n, so that editing it can always hand out new ids.
// True when it did.
bool renumber_exhausted_ids(Scene& scene);

}  // namespace glimmerly
