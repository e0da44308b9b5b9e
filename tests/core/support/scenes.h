#pragma once
// Whole scenes for the stored-format tests, fuzz seeds and benchmarks.

#include "core/document/scene.h"
#include "tests/core/support/objects.h"

#include <cstddef>
#include <random>
#include <utility>

namespace glimmerly::testing {

inline Scene empty_scene(std::uint32_t width = 640, std::uint32_t height = 480) {
    Scene scene;
    scene.frame = {width, height};
    scene.region = {0.0, 0.0, static_cast<double>(width), static_cast<double>(height)};
    return scene;
}

// A label: a text object boxed to fit its text, or wrapped at a width.
inline SceneObject label(ObjectId id, std::string letters, Point at, LabelMode mode = LabelMode::fit()) {
    SceneObject object = text(id, std::move(letters), at, mode);
    object.color = Rgb{250, 220, 40};
    return object;
}

// One object of every kind and every stored feature: fills naming ids, a
// bent line, attached and elbow lines, strokes with and without widths,
// plain text, labels with ink and wrap, a blank label and a blur, over a
// background of two regions. Its format version is the newest.
inline Scene scene_with_every_kind() {
    Scene scene = empty_scene(800, 600);
    scene.origin = {-1920, 37};
    scene.region = {10.5, 0.25, 790.0, 599.75};

    SceneObject box = rectangle(2, {10, 20, 110.5, 220.25}, 0.5);
    box.fill = {FillRegion{{2, 3}, Rgb{1, 2, 3}}, FillRegion{{}, Rgb{255, 254, 253}}};
    scene.objects.push_back(box);
    scene.objects.push_back(ellipse(3, {100, 100, 300, 250}, -0.25));

    SceneObject bent = line(4, {0.1, 0.2}, {400.5, 300}, false, 2.0);
    std::get<LinePayload>(bent.payload).bend = {0.25, -0.125};
    scene.objects.push_back(bent);

    SceneObject tied = line(5, {50, 50}, {200, 200});
    std::get<LinePayload>(tied.payload).start = ObjectAttachment{2, {-10.5, 3}};
    std::get<LinePayload>(tied.payload).end = ObjectAttachment{3, {0, 0}};
    scene.objects.push_back(tied);
    scene.objects.push_back(elbow(6, {1, 2}, {300, 400}, ObjectAttachment{2, {50, 0}}, std::nullopt));

    SceneObject pen = stroke(7, {{1, 1}, {2.5, 3.75}, {1e-7, 1e21}}, false, 4.0);
    std::get<StrokePayload>(pen.payload).widths = {1, 2, 3.5, 0, 7};
    scene.objects.push_back(pen);
    scene.objects.push_back(stroke(8, {{5, 5}}, true, 12.0));

    scene.objects.push_back(text(9, "Hello, wörld ✓", {20, 30}, LabelMode::none(), 18.5, {120, 22}));
    SceneObject inked = label(10, "Note", {300, 40});
    std::get<TextPayload>(inked.payload).ink = Rgb{0, 0x80, 0xff};
    scene.objects.push_back(inked);
    scene.objects.push_back(label(11, "wrapped words", {300, 90}, LabelMode::wrap(140.5)));
    scene.objects.push_back(label(12, "", {300, 200}));
    scene.objects.push_back(blur(14, {500, 400, 620.5, 480}, 12.0));

    scene.background = {FillRegion{{3, 9}, Rgb{0xab, 0xcd, 0xef}}, FillRegion{{}, Rgb{0, 0, 0}}};
    scene.last = 20;
    return scene;
}

// `count` objects cycling through the kinds at random places, with the full
// digits that moving and scaling give coordinates.
inline Scene scene_of_many_objects(std::size_t count, std::uint32_t seed = 42) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(0, 3000), extent(10, 300), step(-6, 6);
    Scene scene = empty_scene(3840, 2160);
    scene.last = count;
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId id = i + 1;
        const double x = coordinate(random), y = coordinate(random);
        switch (i % 5) {
        case 0: scene.objects.push_back(rectangle(id, {x, y, x + extent(random), y + extent(random)}, 0.1)); break;
        case 1: scene.objects.push_back(line(id, {x, y}, {x + extent(random), y - extent(random)})); break;
        case 2: {
            std::vector<Point> points{{x, y}};
            for (int k = 1; k < 16; ++k)
                points.push_back({points.back().x + step(random), points.back().y + step(random)});
            scene.objects.push_back(stroke(id, std::move(points)));
            break;
        }
        case 3: scene.objects.push_back(label(id, "Annotated text", {x, y})); break;
        default: scene.objects.push_back(ellipse(id, {x, y, x + extent(random), y + extent(random)})); break;
        }
    }
    return scene;
}

}  // namespace glimmerly::testing
