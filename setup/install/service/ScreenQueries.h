// What the installer may ask about the screen.
#pragma once

// Bits per pixel of the screen: 4, 8, 16, 24 or 32; 0 for any other depth.
int GetScreenColorDepth();
