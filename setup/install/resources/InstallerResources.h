// Puts the installer's string table, dialog templates and pictures where the
// platform loads resources from. Called once, before the first window.
#pragma once

void RegisterInstallerResources();
