// The volume behind a drive letter: what a link records about the drive of
// its target, and the label the namespace names the drive by.
#pragma once

#include <optional>

#include "platform/shell/LinkFormat.h"

namespace qm::shell {

// By default a fixed disk without a label and a serial number derived from
// the drive's host folder, stable as a volume's serial is.
LinkVolume VolumeOf(char driveLetter);

// Fixes the volume of a drive (a label, or a serial to compare bytes with);
// nothing returns the drive to its default.
void SetVolumeOverride(char driveLetter, std::optional<LinkVolume> volume);

}  // namespace qm::shell
