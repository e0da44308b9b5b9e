#pragma once
// The two places where a capture's output leaves the program's hands: the
// browser that gets the image-search page and the Save dialog that asks for
// a name. The App keeps them so that tests can put their own in: a browser
// would upload the picture, and a dialog would wait for a person.

#include <windows.h>

#include <optional>
#include <string_view>

#include "app/session/lens.h"
#include "app/session/save_dialog.h"

namespace glimmerly {

using SaveDialogRunner = Result<std::optional<SaveDialogChoice>> (*)(HWND owner, std::wstring_view remembered_folder,
                                                                     ImageFormat remembered_format);

struct OutputSeams {
    LensOpeners lens = platform_lens_openers();
    SaveDialogRunner save_dialog = run_save_dialog;
};

}  // namespace glimmerly
