#include "core/presentation/keyboard_caps.h"

#include <vector>

namespace glimmerly {
namespace {

constexpr double kMainLeft = 8.0;
constexpr double kMainTop = 35.0;

std::vector<KeyCapPlace> build(bool us) {
    std::vector<KeyCapPlace> caps;
    const auto add = [&](std::uint16_t scan, bool ext, double x, double y, double w = 1, double h = 1) {
        caps.push_back({scan, ext, x, y, w, h, false});
    };
    add(0x01, false, 8, 9);
    const std::uint16_t function_keys[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
    for (int i = 0; i < 12; ++i) add(function_keys[i], false, 8 + kKeyPitch * (i + 2 + 0.5 * (i / 4)), 9);

    const auto row_y = [](int row) { return kMainTop + kKeyPitch * row; };
    const auto column_x = [](double column) { return kMainLeft + kKeyPitch * column; };
    add(0x29, false, column_x(0), row_y(0));
    for (int i = 0; i < 12; ++i) add(std::uint16_t(0x02 + i), false, column_x(1 + i), row_y(0));
    add(0x0E, false, column_x(13), row_y(0), 2);

    add(0x0F, false, column_x(0), row_y(1), 1.5);
    for (int i = 0; i < 12; ++i) add(std::uint16_t(0x10 + i), false, column_x(1.5 + i), row_y(1));

    add(0x3A, false, column_x(0), row_y(2), 1.75);
    for (int i = 0; i < 11; ++i) add(std::uint16_t(0x1E + i), false, column_x(1.75 + i), row_y(2));
    if (us)
        add(0x2B, false, 251, 53, 1.5);
    else
        add(0x2B, false, column_x(12.75), row_y(2));

    add(0x2A, false, column_x(0), row_y(3), us ? 2.25 : 1.25);
    if (!us) add(0x56, false, column_x(1.25), row_y(3));
    for (int i = 0; i < 10; ++i) add(std::uint16_t(0x2C + i), false, column_x(2.25 + i), row_y(3));
    add(0x36, false, column_x(12.25), row_y(3), 2.75);

    if (us) add(0x1C, false, 237.5, 71, 2.25);

    const double bottom = 107;
    add(0x1D, false, column_x(0), bottom, 1.25);
    add(0x5B, true, column_x(1.25), bottom, 1.25);
    add(0x38, false, column_x(2.5), bottom, 1.25);
    add(0x39, false, column_x(3.75), bottom, 6.25);
    add(0x38, true, column_x(10), bottom, 1.25);
    add(0x5C, true, column_x(11.25), bottom, 1.25);
    add(0x5D, true, column_x(12.5), bottom, 1.25);
    add(0x1D, true, column_x(13.75), bottom, 1.25);

    const auto nav_x = [](int column) { return 288 + kKeyPitch * column; };
    add(0x37, true, nav_x(0), 9);
    add(0x46, false, nav_x(1), 9);
    add(0x45, true, nav_x(2), 9);
    add(0x52, true, nav_x(0), 35);
    add(0x47, true, nav_x(1), 35);
    add(0x49, true, nav_x(2), 35);
    add(0x53, true, nav_x(0), 53);
    add(0x4F, true, nav_x(1), 53);
    add(0x51, true, nav_x(2), 53);
    add(0x48, true, nav_x(1), 89);
    add(0x4B, true, nav_x(0), 107);
    add(0x50, true, nav_x(1), 107);
    add(0x4D, true, nav_x(2), 107);

    const auto pad_x = [](int column) { return 354 + kKeyPitch * column; };
    add(0x45, false, pad_x(0), 35);
    add(0x35, true, pad_x(1), 35);
    add(0x37, false, pad_x(2), 35);
    add(0x4A, false, pad_x(3), 35);
    add(0x47, false, pad_x(0), 53);
    add(0x48, false, pad_x(1), 53);
    add(0x49, false, pad_x(2), 53);
    add(0x4E, false, pad_x(3), 53, 1, 2);
    add(0x4B, false, pad_x(0), 71);
    add(0x4C, false, pad_x(1), 71);
    add(0x4D, false, pad_x(2), 71);
    add(0x4F, false, pad_x(0), 89);
    add(0x50, false, pad_x(1), 89);
    add(0x51, false, pad_x(2), 89);
    add(0x1C, true, pad_x(3), 89, 1, 2);
    add(0x52, false, pad_x(0), 107, 2);
    add(0x53, false, pad_x(2), 107);

    if (!us) caps.push_back({0x1C, false, 255.5, 62, 1.25, 1, true});
    return caps;
}

const std::vector<KeyCapPlace> kIso = build(false);
const std::vector<KeyCapPlace> kAnsi = build(true);

}  // namespace

std::span<const KeyCapPlace> keyboard_caps(bool us_layout) { return us_layout ? kAnsi : kIso; }

}  // namespace glimmerly
