// Classes every program may create windows of without registering them
// first (the standard controls and the dialog class). The layer that owns
// them adds a provider that registers them; a class lookup that finds
// nothing runs the providers and looks again. Providers must be harmless
// to run more than once.
#pragma once

namespace qm::ui::user {

using SystemClassProvider = void (*)();
void AddSystemClassProvider(SystemClassProvider provider);

}  // namespace qm::ui::user
