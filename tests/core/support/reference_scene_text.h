#pragma once
// The scene text writer in its first, plain form: numbers laid out from the
// shortest scientific digits, every piece appended to a string. The writer
// of core/document writes the same bytes faster; tests and the fuzz target
// hold it to this one.

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "core/base/stored_values.h"
#include "core/document/scene.h"

namespace glimmerly::testing {

inline void reference_number(std::string& out, double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (error != std::errc{}) return;
    std::string_view form(buffer, static_cast<std::size_t>(end - buffer));
    if (!std::isfinite(value)) {
        out.append(form);
        return;
    }
    if (form.front() == '-') {
        out.push_back('-');
        form.remove_prefix(1);
    }
    const std::size_t e = form.find('e');
    std::string digits;
    for (const char c : form.substr(0, e))
        if (c != '.') digits.push_back(c);
    int exponent = 0;
    std::from_chars(form.data() + e + 1 + (form[e + 1] == '+'), form.data() + form.size(), exponent);
    const long point = long{exponent} + 1;
    const auto count = static_cast<long>(digits.size());
    if (digits == "0")
        out += '0';
    else if (point <= 0)
        out += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    else if (point >= count)
        out += digits + std::string(static_cast<std::size_t>(point - count), '0');
    else
        out += digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
}

inline void reference_pair(std::string& out, Point p) {
    reference_number(out, p.x);
    out += ',';
    reference_number(out, p.y);
}

inline void reference_fill(std::string& out, const std::vector<FillRegion>& regions) {
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (i) out += ';';
        append_rgb_hex(out, regions[i].color);
        for (std::size_t k = 0; k < regions[i].ids.size(); ++k) {
            out += k == 0 ? '/' : ',';
            out += std::to_string(regions[i].ids[k]);
        }
    }
}

inline void reference_object(std::string& out, const SceneObject& object) {
    out += "object id=" + std::to_string(object.id) + " kind=" + std::string(object_kind_word(object.kind()));
    out += " color=";
    append_rgb_hex(out, object.color);
    out += " width=";
    reference_number(out, object.width);
    out += " rotation=";
    reference_number(out, object.rotation);
    if (!object.fill.empty()) {
        out += " fill=";
        reference_fill(out, object.fill);
    }
    if (const Box* rect = object_rect(object)) {
        out += " rect=";
        reference_pair(out, {rect->left, rect->top});
        out += ',';
        reference_pair(out, {rect->right, rect->bottom});
    } else if (const LinePayload* line = as_line(object)) {
        out += " from=";
        reference_pair(out, line->from);
        out += " to=";
        reference_pair(out, line->to);
        out += line->head ? " head=1" : " head=0";
        if (line->elbow) {
            out += " elbow=1";
        } else if (!(line->bend.x == 0.0 && line->bend.y == 0.0)) {
            out += " bend=";
            reference_pair(out, line->bend);
        }
        for (const auto& [key, end] : {std::pair{" start=", line->start}, std::pair{" end=", line->end}})
            if (end) {
                out += key + std::to_string(end->id) + ",";
                reference_pair(out, end->point);
            }
    } else if (const StrokePayload* stroke = as_stroke(object)) {
        out += stroke->highlight ? " highlight=1 points=" : " highlight=0 points=";
        for (std::size_t i = 0; i < stroke->points.size(); ++i) {
            if (i) out += ';';
            reference_pair(out, stroke->points[i]);
        }
        if (!stroke->widths.empty()) out += " widths=";
        for (std::size_t i = 0; i < stroke->widths.size(); ++i) {
            if (i) out += ';';
            reference_number(out, stroke->widths[i]);
        }
    } else if (const TextPayload* text = as_text(object)) {
        out += " at=";
        reference_pair(out, text->at);
        out += " size=";
        reference_number(out, text->size);
        out += " extent=";
        reference_pair(out, {text->extent.w, text->extent.h});
        if (text->label.kind == LabelKind::Fit) {
            out += " label=fit";
        } else if (text->label.kind == LabelKind::Wrap) {
            out += " label=wrap:";
            reference_number(out, text->label.wrap_width);
        }
        if (text->ink) {
            out += " ink=";
            append_rgb_hex(out, *text->ink);
        }
        out += " text=";
        for (const char ch : text->text) append_hex_byte(out, static_cast<std::uint8_t>(ch));
    }
    out += '\n';
}

inline std::string reference_scene_text(const Scene& scene) {
    std::string out = "frame " + std::to_string(scene.frame.width) + " " + std::to_string(scene.frame.height) +
                      "\norigin " + std::to_string(scene.origin.x) + " " + std::to_string(scene.origin.y) +
                      "\nregion ";
    reference_number(out, scene.region.left);
    out += ' ';
    reference_number(out, scene.region.top);
    out += ' ';
    reference_number(out, scene.region.right);
    out += ' ';
    reference_number(out, scene.region.bottom);
    out += "\nlast " + std::to_string(scene.last) + "\n";
    if (!scene.background.empty()) {
        out += "background ";
        reference_fill(out, scene.background);
        out += '\n';
    }
    for (const SceneObject& object : scene.objects) reference_object(out, object);
    return out;
}

}  // namespace glimmerly::testing
