#include "app/render/text_formats.h"

#include <dwrite_3.h>

#include <array>
#include <bit>
#include <mutex>
#include <new>

#include "app/render/embedded_font.h"
#include "app/win/failure.h"
#include "app/win/fiber_local.h"

namespace glimmerly {

namespace {

using win::ComPtr;

// Always five characters, by language index.
constexpr std::array<const wchar_t*, LANGUAGE_COUNT> kLocales = {
    L"en-US", L"zh-CN", L"ru-RU", L"es-ES", L"pt-BR", L"de-DE", L"ja-JP", L"fr-FR",
    L"pl-PL", L"ko-KR", L"zh-TW", L"tr-TR", L"uk-UA", L"it-IT", L"cs-CZ"};

const wchar_t* locale_of(Language language) {
    return language < kLocales.size() ? kLocales[language] : kLocales[LANGUAGE_ENGLISH];
}

struct StyleFace {
    const wchar_t* variable_family;
    DWRITE_FONT_WEIGHT weight;
};
constexpr std::array<StyleFace, 4> kStyleFaces = {{
    {L"Segoe UI Variable Text", DWRITE_FONT_WEIGHT_NORMAL},
    {L"Segoe UI Variable Text", DWRITE_FONT_WEIGHT_SEMI_BOLD},
    {L"Segoe UI Variable Display", DWRITE_FONT_WEIGHT_SEMI_BOLD},
    {L"Segoe UI Variable Small", DWRITE_FONT_WEIGHT_NORMAL},
}};
constexpr std::uint8_t kPlainStyle = 0xFF;

constexpr wchar_t kAnnotationFamily[] = L"Roboto";
constexpr DWRITE_FONT_WEIGHT kAnnotationWeight = DWRITE_FONT_WEIGHT_MEDIUM;
constexpr float kUnbounded = 1'000'000.0f;

// The system's font list does not change while the program runs in a way
// that matters here, so the first answers stand for the whole process.
std::once_flag g_system_families_once;
bool g_variable_segoe = false;
bool g_segoe = false;

void find_system_families(IDWriteFactory* factory) {
    std::call_once(g_system_families_once, [&] {
        ComPtr<IDWriteFontCollection> system;
        if (FAILED(factory->GetSystemFontCollection(system.put(), FALSE)) || !system) return;
        const auto has = [&](const wchar_t* family) {
            UINT32 index = 0;
            BOOL exists = FALSE;
            return SUCCEEDED(system->FindFamilyName(family, &index, &exists)) && exists;
        };
        g_variable_segoe = has(L"Segoe UI Variable Text");
        g_segoe = has(L"Segoe UI");
    });
}

Result<ComPtr<IDWriteFontCollection>> annotation_collection(IDWriteFactory* factory);

Result<ComPtr<IDWriteTextFormat>> interface_format(RendererResources& resources, const wchar_t* family,
                                                   DWRITE_FONT_WEIGHT weight, float size, Language language) {
    // Without Segoe UI (Wine has none) DirectWrite may find no fallback and
    // draw or lay out nothing: interface text then uses the built-in font.
    ComPtr<IDWriteFontCollection> collection;
    find_system_families(resources.dwrite_factory.get());
    if (!g_segoe) {
        auto own = annotation_collection(resources.dwrite_factory.get());
        if (!own) return std::move(own).failure();
        collection = std::move(*own);
        family = kAnnotationFamily;
    }
    ComPtr<IDWriteTextFormat> format;
    GLIM_TRY(made(resources.dwrite_factory->CreateTextFormat(family, collection.get(), weight,
                                                             DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                                             size, locale_of(language), format.put()),
                  format, "CreateTextFormat"));
    return format;
}

Result<ComPtr<IDWriteTextFormat>> cached_format(RendererResources& resources, TextFormatKey key,
                                                const wchar_t* family, DWRITE_FONT_WEIGHT weight, float size,
                                                Language language) {
    auto cache = resources.text_formats.borrow();
    if (!cache) return busy_failure("The text-format cache");
    if (const auto found = cache->find(key); found != cache->end()) return found->second;
    auto format = interface_format(resources, family, weight, size, language);
    if (!format) return format;
    cache->emplace(key, *format);
    return format;
}

// The annotation font in a collection of its own, one per thread: DirectWrite
// objects built from it stay on the thread that made them. The loader is
// registered with the shared factory, so it is taken off again when the
// thread ends.
class AnnotationFontCollection {
public:
    AnnotationFontCollection() = default;
    AnnotationFontCollection(const AnnotationFontCollection&) = delete;
    AnnotationFontCollection& operator=(const AnnotationFontCollection&) = delete;
    ~AnnotationFontCollection() {
        collection_.reset();
        if (factory_ && loader_) factory_->UnregisterFontFileLoader(loader_.get());
    }

    Result<ComPtr<IDWriteFontCollection>> get(IDWriteFactory* factory) {
        if (collection_) return collection_;
        auto factory5 = ComPtr<IDWriteFactory>::share(factory).query<IDWriteFactory5>();
        if (!factory5) return std::move(factory5).failure();
        ComPtr<IDWriteInMemoryFontFileLoader> loader;
        GLIM_TRY(made((*factory5)->CreateInMemoryFontFileLoader(loader.put()), loader,
                      "CreateInMemoryFontFileLoader"));
        const HRESULT registered = (*factory5)->RegisterFontFileLoader(loader.get());
        if (FAILED(registered)) return win::hr_failure(registered, "RegisterFontFileLoader");
        auto collection = build(factory5->get(), loader.get());
        if (!collection) {
            (*factory5)->UnregisterFontFileLoader(loader.get());
            return std::move(collection).failure();
        }
        factory_ = std::move(*factory5);
        loader_ = std::move(loader);
        collection_ = std::move(*collection);
        return collection_;
    }

private:
    static Result<ComPtr<IDWriteFontCollection>> build(IDWriteFactory5* factory,
                                                       IDWriteInMemoryFontFileLoader* loader) {
        auto bytes = embedded_font_bytes();
        if (!bytes) return std::move(bytes).failure();
        // The bytes are the executable's own and outlive every reference, so
        // they are used in place; the factory stands as their owner.
        ComPtr<IDWriteFontFile> file;
        GLIM_TRY(made(loader->CreateInMemoryFontFileReference(factory, bytes->data(),
                                                              static_cast<UINT32>(bytes->size()), factory,
                                                              file.put()),
                      file, "CreateInMemoryFontFileReference"));
        ComPtr<IDWriteFontSetBuilder1> builder;
        GLIM_TRY(made(factory->CreateFontSetBuilder(builder.put()), builder, "CreateFontSetBuilder"));
        const HRESULT added = builder->AddFontFile(file.get());
        if (FAILED(added)) return win::hr_failure(added, "AddFontFile");
        ComPtr<IDWriteFontSet> set;
        GLIM_TRY(made(builder->CreateFontSet(set.put()), set, "CreateFontSet"));
        ComPtr<IDWriteFontCollection1> collection;
        GLIM_TRY(made(factory->CreateFontCollectionFromFontSet(set.get(), collection.put()), collection,
                      "CreateFontCollectionFromFontSet"));
        return collection.query<IDWriteFontCollection>();
    }

    ComPtr<IDWriteFactory5> factory_;
    ComPtr<IDWriteInMemoryFontFileLoader> loader_;
    ComPtr<IDWriteFontCollection> collection_;
};

// Held in a fiber-local slot, not a thread_local object: the emulated thread
// storage of this toolchain may free the object before its destructor runs.
win::FiberLocal<AnnotationFontCollection> g_annotation_font;

Result<ComPtr<IDWriteFontCollection>> annotation_collection(IDWriteFactory* factory) {
    auto collection = g_annotation_font.get_or_make([]() -> Result<std::unique_ptr<AnnotationFontCollection>> {
        std::unique_ptr<AnnotationFontCollection> made(new (std::nothrow) AnnotationFontCollection());
        if (!made) return out_of_memory("The annotation font collection");
        return made;
    });
    if (!collection) return std::move(collection).failure();
    return (*collection)->get(factory);
}

}  // namespace

bool has_variable_segoe_font(RendererResources& resources) {
    find_system_families(resources.dwrite_factory.get());
    return g_variable_segoe;
}

Result<ComPtr<IDWriteTextFormat>> styled_text_format(RendererResources& resources, float size, UiTextStyle style,
                                                     Language language) {
    const auto index = static_cast<std::uint8_t>(style);
    if (index >= kStyleFaces.size()) return invalid_input("Unknown interface text style");
    const StyleFace& face = kStyleFaces[index];
    const wchar_t* family = has_variable_segoe_font(resources) ? face.variable_family : L"Segoe UI";
    return cached_format(resources, {std::bit_cast<std::uint32_t>(size), index, language}, family, face.weight,
                         size, language);
}

Result<ComPtr<IDWriteTextFormat>> ui_text_format(RendererResources& resources, float size, Language language) {
    return cached_format(resources, {std::bit_cast<std::uint32_t>(size), kPlainStyle, language}, L"Segoe UI",
                         DWRITE_FONT_WEIGHT_NORMAL, size, language);
}

Result<ComPtr<IDWriteTextFormat>> new_ui_text_format(RendererResources& resources, float size,
                                                     DWRITE_FONT_WEIGHT weight, Language language) {
    return interface_format(resources, L"Segoe UI", weight, size, language);
}

Result<ComPtr<IDWriteTextFormat>> annotation_text_format(IDWriteFactory* factory, float size) {
    auto collection = annotation_collection(factory);
    if (!collection) return std::move(collection).failure();
    ComPtr<IDWriteTextFormat> format;
    GLIM_TRY(made(factory->CreateTextFormat(kAnnotationFamily, collection->get(), kAnnotationWeight,
                                            DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, size,
                                            locale_of(current_language()), format.put()),
                  format, "CreateTextFormat (annotation)"));
    return format;
}

Status draw_text_in_rect(ID2D1RenderTarget* target, std::string_view text, const Box& rect,
                         IDWriteTextFormat* format, TextColour colour) {
    ComPtr<ID2D1SolidColorBrush> brush;
    GLIM_TRY(made(target->CreateSolidColorBrush(d2d_colour(colour.rgb, colour.alpha), brush.put()), brush,
                  "CreateSolidColorBrush"));
    draw_text_in_rect(target, brush.get(), text, rect, format, colour);
    return ok_status();
}

void draw_text_in_rect(ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush, std::string_view text,
                       const Box& rect, IDWriteTextFormat* format, TextColour colour) {
    brush->SetColor(d2d_colour(colour.rgb, colour.alpha));
    const std::wstring wide = win::to_wide(text);
    // Wine ignores the clip option and lets a long word run past the
    // rectangle; the same clip pushed on the target holds everywhere, and
    // where the option works the two agree.
    target->PushAxisAlignedClip(d2d_rect(rect), D2D1_ANTIALIAS_MODE_ALIASED);
    target->DrawText(wide.data(), static_cast<UINT32>(wide.size()), format, d2d_rect(rect), brush,
                     D2D1_DRAW_TEXT_OPTIONS_CLIP, DWRITE_MEASURING_MODE_NATURAL);
    target->PopAxisAlignedClip();
}

Result<Size> measure_text(RendererResources& resources, std::string_view text, IDWriteTextFormat* format,
                          bool wrap, float wrap_width) {
    const std::wstring wide = win::to_wide(text);
    ComPtr<IDWriteTextLayout> layout;
    GLIM_TRY(made(resources.dwrite_factory->CreateTextLayout(wide.data(), static_cast<UINT32>(wide.size()), format,
                                                             wrap ? wrap_width : kUnbounded, kUnbounded,
                                                             layout.put()),
                  layout, "CreateTextLayout"));
    // The format may be a cached one that other callers share: the choice
    // is made on this layout alone, and made both ways, so that a format
    // created without wrapping still wraps when asked to.
    const HRESULT set =
        layout->SetWordWrapping(wrap ? DWRITE_WORD_WRAPPING_WRAP : DWRITE_WORD_WRAPPING_NO_WRAP);
    if (FAILED(set)) return win::hr_failure(set, "SetWordWrapping");
    DWRITE_TEXT_METRICS metrics{};
    const HRESULT measured = layout->GetMetrics(&metrics);
    if (FAILED(measured)) return win::hr_failure(measured, "GetMetrics");
    return Size{wrap ? metrics.width : metrics.widthIncludingTrailingWhitespace, metrics.height};
}

Result<Size> measure_annotation_line(RendererResources& resources, std::string_view text, float size) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), size);
    if (!format) return std::move(format).failure();
    return measure_text(resources, text, format->get(), false, 0.0f);
}

Result<Size> measure_default_label_box(RendererResources& resources) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), 22.0f);
    if (!format) return std::move(format).failure();
    return measure_text(resources, "", format->get(), true, 150.0f);
}

}  // namespace glimmerly
