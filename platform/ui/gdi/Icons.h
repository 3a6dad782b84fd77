// Icons: images with their own alpha, blended over what they are drawn on.
#pragma once

#include "platform/ui/Surface.h"
#include "platform/kernel/WinTypes.h"

namespace qm::ui::gdi {

// `shared` icons (the system's, and those loaded by id) survive DestroyIcon.
HICON InsertIcon(Surface image, bool shared);
const Surface* IconImage(HICON icon);

// A bitmap of a decoded picture, made opaque over the dialog face.
HBITMAP InsertBitmap(Surface image);

// The system's icons, drawn once on first use; null for an unknown id.
HICON SystemIcon(WORD id);

}  // namespace qm::ui::gdi
