// The settings window lays its page out on every page change, section
// toggle, resize and refresh after a change, and six times over when it
// measures its natural size; one pass must stay well below a frame.

#include "ui/settings_panel/settings_layout.h"

#include <benchmark/benchmark.h>

namespace glimmerly {
namespace {

// The pointer effects page with its largest section open, every text in the
// width cache as the window fills it.
SettingsPanel measured_panel(SettingsPage page, std::uint8_t expanded) {
    SettingsView view;
    view.rows[0].caps = {"Print Screen"};
    view.rows[3].caps = {"Alt", "A"};
    view.rows[6].caps = {"Ctrl", "Shift", "K"};
    SettingsPanel panel = new_settings_panel(PointerSettings{}, 0x40D3FF, true, view, LANGUAGE_ENGLISH);
    panel.client_width = 900.0;
    panel.client_height = 700.0;
    panel.expanded_section = expanded;
    panel.page = page;
    for (const TextToMeasure& text : collect_settings_texts(panel))
        insert_text_width(panel, text.text, text.size, text.style, 7.0 * static_cast<double>(text.text.size()));
    return panel;
}

void BM_SettingsLayoutPass(benchmark::State& bench) {
    SettingsPanel panel = measured_panel(static_cast<SettingsPage>(bench.range(0)), 2);
    for (auto _ : bench) {
        const Size size = layout_settings_page(panel, false);
        benchmark::DoNotOptimize(size);
        benchmark::DoNotOptimize(panel.layout.items.data());
    }
}
BENCHMARK(BM_SettingsLayoutPass)->Arg(0)->Arg(1)->Arg(2)->Arg(3);

// The window's natural size: every page, the pointer page once per open
// section.
void BM_SettingsNaturalSize(benchmark::State& bench) {
    SettingsPanel panel = measured_panel(SettingsPage::General, 0);
    for (auto _ : bench) {
        Size largest;
        for (std::uint8_t pass = 0; pass < 8; ++pass) {
            panel.page = static_cast<SettingsPage>(pass < 3 ? pass : 3);
            panel.expanded_section = pass < 3 ? 0 : static_cast<std::uint8_t>(pass - 3);
            const Size size = layout_settings_page(panel, true);
            largest = {std::max(largest.w, size.w), std::max(largest.h, size.h)};
        }
        benchmark::DoNotOptimize(largest);
    }
}
BENCHMARK(BM_SettingsNaturalSize);

}  // namespace
}  // namespace glimmerly
