#pragma once
// Folder services: creating a path, copying and removing a tree, and the
// numbered default names of a folder.

#include <cstdint>
#include <string>

#include "core/base/result.h"
#include "core/paths/path_names.h"

namespace glimmerly {

// Creates the folder and every missing parent; an existing folder is fine.
Status create_directories(const std::wstring& folder);

Result<bool> folder_is_empty(const std::wstring& folder);

// Copies the folder's files and sub-folders into `target`, which is created
// with its parents. A file link is copied as the file it points to; a folder
// link (junction or symbolic link) is not followed, so a link that loops back
// cannot make the copy endless and nothing outside the tree is copied.
Status copy_directory_tree(const std::wstring& source, const std::wstring& target);

// Copies `source` into a temporary sibling of `target` and moves it into
// place only when the copy is complete, so that a failed copy never leaves a
// half-filled `target` behind (a later attempt would take it for data of its
// own and stop).
Status copy_folder_into_place(const std::wstring& source, const std::wstring& target);

// Removes a file, or a folder with everything in it; a folder link is removed
// as a link, never followed. A missing path is fine. Read-only files go too.
Status remove_tree(const std::wstring& path);

// The highest number among the folder's default names (007.png, Brindlet
// 7.jpg, capture7.vexil ...), 0 when it holds none. An empty folder means the
// current one.
Result<std::uint64_t> largest_file_number(const std::wstring& folder);

// The folder joined with the default name after the highest one it holds
// (001.png, 002.jpg ...); "File number exhausted" when no number is left.
// An empty folder means the current one, and the result is then the bare name.
Result<std::wstring> next_free_file_name(const std::wstring& folder, ImageFormat format);

}  // namespace glimmerly
