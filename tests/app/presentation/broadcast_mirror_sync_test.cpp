// The mirror's syncing of a real layer, run under Wine against a stand-in
// composition (Wine has none) whose surfaces lend real Direct3D textures:
// what goes up after each pass, where the slot's visual sits and shows, and
// what stops the mirror.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/presentation/broadcast_mirror.h"
#include "app/presentation/layer.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/presentation.h"
#include "app/win/com.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

#define STUB(name, params) \
    HRESULT STDMETHODCALLTYPE name params override { return E_NOTIMPL; }

template <class I>
struct Fake : I {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        // The mirror never asks these for anything else.
        if (iid != __uuidof(IUnknown)) return *out = nullptr, E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs;
        if (!left) delete this;
        return left;
    }
    virtual ~Fake() = default;
};

// Lends a texture in which the surface starts at kOffset, as a surface in a
// shared atlas does; the offset it answers is where the update's corner lies.
struct FakeSurface : Fake<IDCompositionSurface> {
    static constexpr POINT kOffset{16, 8};
    win::ComPtr<ID3D11Texture2D> texture;
    HRESULT STDMETHODCALLTYPE BeginDraw(const RECT* update, REFIID, void** out, POINT* offset) override {
        *out = win::ComPtr<ID3D11Texture2D>(texture).detach();
        *offset = {kOffset.x + (update ? update->left : 0), kOffset.y + (update ? update->top : 0)};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EndDraw() override { return S_OK; }
    STUB(SuspendDraw, ())
    STUB(ResumeDraw, ())
    STUB(Scroll, (const RECT*, const RECT*, int, int))
};

struct FakeVisual : Fake<IDCompositionVisual> {
    float x = -1, y = -1;
    IUnknown* content = nullptr;
    HRESULT STDMETHODCALLTYPE SetOffsetX(float value) override { return x = value, S_OK; }
    HRESULT STDMETHODCALLTYPE SetOffsetY(float value) override { return y = value, S_OK; }
    HRESULT STDMETHODCALLTYPE SetContent(IUnknown* shown) override { return content = shown, S_OK; }
    STUB(SetOffsetX, (IDCompositionAnimation*))
    STUB(SetOffsetY, (IDCompositionAnimation*))
    STUB(SetTransform, (IDCompositionTransform*))
    STUB(SetTransform, (const D2D_MATRIX_3X2_F&))
    STUB(SetTransformParent, (IDCompositionVisual*))
    STUB(SetEffect, (IDCompositionEffect*))
    STUB(SetBitmapInterpolationMode, (DCOMPOSITION_BITMAP_INTERPOLATION_MODE))
    STUB(SetBorderMode, (DCOMPOSITION_BORDER_MODE))
    STUB(SetClip, (IDCompositionClip*))
    STUB(SetClip, (const D2D_RECT_F&))
    STUB(AddVisual, (IDCompositionVisual*, BOOL, IDCompositionVisual*))
    STUB(RemoveVisual, (IDCompositionVisual*))
    STUB(RemoveAllVisuals, ())
    STUB(SetCompositeMode, (DCOMPOSITION_COMPOSITE_MODE))
};

struct FakeDevice : Fake<IDCompositionDevice> {
    ID3D11Device* d3d = nullptr;
    std::vector<FakeSurface*> surfaces;
    int commits = 0;
    HRESULT STDMETHODCALLTYPE Commit() override { return ++commits, S_OK; }
    HRESULT STDMETHODCALLTYPE CreateSurface(UINT w, UINT h, DXGI_FORMAT format, DXGI_ALPHA_MODE,
                                            IDCompositionSurface** out) override {
        auto* surface = new FakeSurface;
        const D3D11_TEXTURE2D_DESC described{w + 32, h + 32, 1, 1, format, {1, 0}, D3D11_USAGE_DEFAULT, 0, 0, 0};
        d3d->CreateTexture2D(&described, nullptr, surface->texture.put());
        surfaces.push_back(surface);
        *out = surface;
        return S_OK;
    }
    STUB(WaitForCommitCompletion, ())
    STUB(GetFrameStatistics, (DCOMPOSITION_FRAME_STATISTICS*))
    STUB(CreateTargetForHwnd, (HWND, BOOL, IDCompositionTarget**))
    STUB(CreateVisual, (IDCompositionVisual**))
    STUB(CreateVirtualSurface, (UINT, UINT, DXGI_FORMAT, DXGI_ALPHA_MODE, IDCompositionVirtualSurface**))
    STUB(CreateSurfaceFromHandle, (HANDLE, IUnknown**))
    STUB(CreateSurfaceFromHwnd, (HWND, IUnknown**))
    STUB(CreateTranslateTransform, (IDCompositionTranslateTransform**))
    STUB(CreateScaleTransform, (IDCompositionScaleTransform**))
    STUB(CreateRotateTransform, (IDCompositionRotateTransform**))
    STUB(CreateSkewTransform, (IDCompositionSkewTransform**))
    STUB(CreateMatrixTransform, (IDCompositionMatrixTransform**))
    STUB(CreateTransformGroup, (IDCompositionTransform**, UINT, IDCompositionTransform**))
    STUB(CreateTranslateTransform3D, (IDCompositionTranslateTransform3D**))
    STUB(CreateScaleTransform3D, (IDCompositionScaleTransform3D**))
    STUB(CreateRotateTransform3D, (IDCompositionRotateTransform3D**))
    STUB(CreateMatrixTransform3D, (IDCompositionMatrixTransform3D**))
    STUB(CreateTransform3DGroup, (IDCompositionTransform3D**, UINT, IDCompositionTransform3D**))
    STUB(CreateEffectGroup, (IDCompositionEffectGroup**))
    STUB(CreateRectangleClip, (IDCompositionRectangleClip**))
    STUB(CreateAnimation, (IDCompositionAnimation**))
    STUB(CheckDeviceState, (BOOL*))
};

// One pixel of a texture, read through a staging copy.
std::uint32_t texel(ID3D11Device& device, ID3D11DeviceContext& context, ID3D11Texture2D* texture, UINT x, UINT y) {
    D3D11_TEXTURE2D_DESC described{};
    texture->GetDesc(&described);
    described.Usage = D3D11_USAGE_STAGING;
    described.BindFlags = 0;
    described.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    win::ComPtr<ID3D11Texture2D> staging;
    if (FAILED(device.CreateTexture2D(&described, nullptr, staging.put()))) return 0xDEADBEEF;
    context.CopyResource(staging.get(), texture);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context.Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped))) return 0xDEADBEEF;
    const std::uint32_t value =
        *reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(mapped.pData) + y * mapped.RowPitch + x * 4);
    context.Unmap(staging.get(), 0);
    return value;
}

class MirrorSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        auto d3d = create_mirror_d3d_device();
        ASSERT_TRUE(d3d) << d3d.failure().message;
        d3d_ = std::move(*d3d);
        device_ = new FakeDevice;
        device_->d3d = d3d_.device.get();
        mirror_ = std::make_shared<BroadcastMirror>();
        mirror_->context = d3d_.context;
        mirror_->device = win::ComPtr<IDCompositionDevice>::adopt(device_);
        for (auto*& visual : visuals_) {
            visual = new FakeVisual;
            mirror_->visuals[&visual - visuals_] = win::ComPtr<IDCompositionVisual>::adopt(visual);
        }
        mirror_->origin_x = -100;
        mirror_->origin_y = 0;
    }
    LayerPointer mirrored_layer(std::int32_t x, std::int32_t y) {
        auto made = create_presentation_layer(x, y, 64, 48, nullptr);
        EXPECT_TRUE(made);
        LayerPointer layer = std::move(*made);
        layer->mirror.mirror = mirror_;
        layer->mirror.slot = kMirrorPointerSlot;
        layer->mirror.window = layer->window.get();
        return layer;
    }
    // A pass that paints `dirty` opaque red and marks it changed.
    void pass(PresentationLayer& layer, Box dirty) {
        ASSERT_TRUE(begin_layer_draw(layer));
        ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
        layer.brush->SetColor(D2D1::ColorF(1, 0, 0, 1));
        target->FillRectangle(D2D1::RectF(float(dirty.left), float(dirty.top), float(dirty.right), float(dirty.bottom)),
                              layer.brush.get());
        layer.dirty = dirty;
        ASSERT_TRUE(present_layer(layer));
    }
    std::uint32_t uploaded(UINT x, UINT y) {
        return texel(*d3d_.device.get(), *d3d_.context.get(), device_->surfaces.back()->texture.get(),
                     UINT(FakeSurface::kOffset.x) + x, UINT(FakeSurface::kOffset.y) + y);
    }

    win::ComApartment com_;
    D3DDevice d3d_;
    FakeDevice* device_ = nullptr;
    FakeVisual* visuals_[3]{};
    std::shared_ptr<BroadcastMirror> mirror_;
};

TEST_F(MirrorSyncTest, TheFirstPassGoesUpWholeThenOnlyWhatTwoPassesChanged) {
    LayerPointer layer = mirrored_layer(200, 300);
    pass(*layer, {10, 10, 20, 20});
    ASSERT_EQ(device_->surfaces.size(), 1u);
    EXPECT_EQ(mirror_->uploads, 1u);
    EXPECT_EQ(mirror_->uploaded_pixels, 64u * 48u);
    EXPECT_EQ(uploaded(15, 15), 0xFFFF0000u);
    EXPECT_EQ(visuals_[2]->x, 300.0f);  // 200 from a virtual screen that starts at -100
    EXPECT_EQ(visuals_[2]->y, 300.0f);
    EXPECT_EQ(visuals_[2]->content, nullptr);  // not shown yet

    show_layer(*layer);
    EXPECT_EQ(visuals_[2]->content, device_->surfaces.back());
    EXPECT_EQ(mirror_->uploads, 1u);

    pass(*layer, {30, 30, 40, 35});  // this pass and the previous one's
    EXPECT_EQ(mirror_->uploaded_pixels, 64u * 48u + 30u * 25u);
    pass(*layer, {30, 30, 40, 35});
    EXPECT_EQ(mirror_->uploaded_pixels, 64u * 48u + 30u * 25u + 10u * 5u);
    EXPECT_EQ(uploaded(35, 32), 0xFFFF0000u);
    EXPECT_EQ(uploaded(50, 40), 0u);
    EXPECT_EQ(device_->surfaces.size(), 1u);

    ASSERT_TRUE(move_layer(*layer, {250, 310}));
    EXPECT_EQ(visuals_[2]->x, 350.0f);
    EXPECT_EQ(visuals_[2]->y, 310.0f);
    EXPECT_EQ(mirror_->uploads, 3u);
    EXPECT_FALSE(mirror_->failed);
}

TEST_F(MirrorSyncTest, APictureThatDoesNotMatchItsWindowStopsTheMirrorForGood) {
    LayerPointer layer = mirrored_layer(0, 0);
    mirror_layer_to_broadcast(*layer, MirrorPixels{layer->surface.bits, 64 * 47 * 4, {0, 0, 1, 1}});
    EXPECT_TRUE(mirror_->failed);
    const int commits = device_->commits;
    pass(*layer, {0, 0, 64, 48});
    ASSERT_TRUE(move_layer(*layer, {5, 5}));
    EXPECT_EQ(mirror_->uploads, 0u);
    EXPECT_EQ(device_->commits, commits);
}

TEST_F(MirrorSyncTest, AReplacedLayerLeavesTheSlotToItsSuccessor) {
    LayerPointer old_layer = mirrored_layer(0, 0);
    pass(*old_layer, {0, 0, 8, 8});
    LayerPointer new_layer = mirrored_layer(0, 0);
    pass(*new_layer, {0, 0, 8, 8});
    ASSERT_EQ(device_->surfaces.size(), 2u);
    old_layer.reset();
    EXPECT_EQ(mirror_->slots[kMirrorPointerSlot].owner, new_layer->window.get());
    EXPECT_TRUE(mirror_->slots[kMirrorPointerSlot].surface);
    new_layer.reset();
    EXPECT_FALSE(mirror_->slots[kMirrorPointerSlot].surface);
    EXPECT_EQ(visuals_[2]->content, nullptr);
}

// The state's decisions about a mirror it shares with its layers, against
// the same stand-in.
class MirrorHolderTest : public MirrorSyncTest {
protected:
    void SetUp() override {
        MirrorSyncTest::SetUp();
        owner_ = testing_support::hidden_owner_window(L"Glimmerly.Tests.MirrorHolder");
        SetCursorPos(600, 400);
        auto attached = attach_presentation_state(owner_.get(), settings_);
        ASSERT_TRUE(attached);
        cell_ = std::move(*attached);
    }
    void TearDown() override { destroy_presentation_state(std::move(cell_)); }
    // The stand-in handed to the state, and to each of its layers in its slot.
    std::weak_ptr<BroadcastMirror> hand_over(PresentationState& state) {
        state.mirror = std::exchange(mirror_, nullptr);
        for (auto [layer, slot] : {std::pair{state.pointer_layer.get(), kMirrorPointerSlot},
                                   std::pair{state.device_layer.get(), kMirrorDeviceSlot}}) {
            if (!layer) continue;
            layer->mirror.mirror = state.mirror;
            layer->mirror.slot = slot;
            layer->mirror.window = layer->window.get();
        }
        return state.mirror;
    }

    // Another stand-in like the fixture's, with nothing to show for it.
    std::shared_ptr<BroadcastMirror> stand_in() {
        auto mirror = std::make_shared<BroadcastMirror>();
        mirror->context = d3d_.context;
        auto* device = new FakeDevice;
        device->d3d = d3d_.device.get();
        mirror->device = win::ComPtr<IDCompositionDevice>::adopt(device);
        for (auto& visual : mirror->visuals) visual = win::ComPtr<IDCompositionVisual>::adopt(new FakeVisual);
        return mirror;
    }

    win::UniqueWindow owner_;
    Settings settings_;
    std::unique_ptr<PresentationCell> cell_;
};

TEST_F(MirrorHolderTest, AMirrorOnlyTheStateHoldsGoesAtTheNextApplyOrTick) {
    struct Row {
        const char* name;
        std::function<Status(PresentationState&)> step;
    };
    const Row rows[] = {
        {"tick", [](PresentationState& state) { return tick_presentation(state); }},
        {"apply", [](PresentationState& state) { return apply_presentation_features(state, state.features); }},
    };
    auto state = cell_->try_borrow();
    ASSERT_TRUE(apply_presentation_features(*state, {.keyboard = true}));
    ASSERT_EQ(state->device_layer->mirror.slot, kNoMirrorSlot);  // no layer holds it
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::weak_ptr<BroadcastMirror> held = state->mirror = stand_in();
        ASSERT_TRUE(row.step(*state));
        EXPECT_TRUE(held.expired());
        EXPECT_FALSE(state->mirror);
    }
}

TEST_F(MirrorHolderTest, SwitchingTheSettingOffMakesTheLayersAgainWithoutTheMirror) {
    settings_.obs_mirror = true;
    auto state = cell_->try_borrow();
    ASSERT_TRUE(apply_presentation_settings(*state, settings_));
    ASSERT_TRUE(apply_presentation_features(*state, {.pointer_effects = true, .keyboard = true}));
    const std::weak_ptr<BroadcastMirror> held = hand_over(*state);

    // The same setting again changes nothing of the mirror.
    ASSERT_TRUE(apply_presentation_settings(*state, settings_));
    EXPECT_FALSE(held.expired());
    EXPECT_EQ(state->device_layer->mirror.slot, kMirrorDeviceSlot);

    settings_.obs_mirror = false;
    ASSERT_TRUE(apply_presentation_settings(*state, settings_));
    EXPECT_TRUE(held.expired());
    ASSERT_TRUE(state->pointer_layer);
    ASSERT_TRUE(state->device_layer);
    EXPECT_EQ(state->pointer_layer->mirror.slot, kNoMirrorSlot);
    EXPECT_EQ(state->device_layer->mirror.slot, kNoMirrorSlot);
    EXPECT_TRUE(state->features.pointer_effects && state->features.keyboard);
}

}  // namespace
}  // namespace glimmerly
