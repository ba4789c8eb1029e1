#pragma once
// The question after a translation: when a check finds another version, ask the user and open
// the installer address on Yes.

struct HWND__;

namespace update {

void OfferUpdate(HWND__* owner);

}  // namespace update
