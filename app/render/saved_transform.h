#pragma once
// The target's transform as it was when a drawing began, put back however
// that drawing ends: turned objects, texts and pictures draw on top of the
// caller's transform (a zoomed monitor, a placed picture) and must leave it.

#include <d2d1.h>

namespace glimmerly {

class SavedTransform {
public:
    explicit SavedTransform(ID2D1RenderTarget* target) : target_(target) { target->GetTransform(&saved_); }
    SavedTransform(const SavedTransform&) = delete;
    SavedTransform& operator=(const SavedTransform&) = delete;
    ~SavedTransform() { restore(); }

    D2D1::Matrix3x2F matrix() const { return *D2D1::Matrix3x2F::ReinterpretBaseType(&saved_); }
    void restore() const { target_->SetTransform(saved_); }

private:
    ID2D1RenderTarget* target_;
    D2D1_MATRIX_3X2_F saved_{};
};

}  // namespace glimmerly
