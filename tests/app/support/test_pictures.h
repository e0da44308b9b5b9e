#pragma once
// Pictures a pixel test read, kept as PNG files for a person to look at
// when $GLIMMERLY_TEST_PICTURES names a folder (a host path is reached
// through Wine's Z: drive).

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/image/image_encoder.h"

namespace glimmerly::testing_support {

inline void keep_test_picture(const BgraImage& picture, const std::string& name) {
    const char* folder = std::getenv("GLIMMERLY_TEST_PICTURES");
    if (!folder || !*folder) return;
    auto png = encode_png(picture);
    if (!png) return;
    std::string path = folder;
    if (path.front() == '/') path = "Z:" + path;
    std::ofstream(path + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
}

}  // namespace glimmerly::testing_support
