// The copy dialog's progress bar. The control keeps its range and position;
// the bar draws itself: a blue fill, a white remainder and the percentage in
// the middle, white over blue and black over white, so the text changes
// colour exactly where the fill edge crosses it. Each paint is composed off
// screen and reaches the screen in one copy.
#pragma once

#include <optional>

#include "platform/framework/DC.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/ProgressCtrl.h"

class ProgressBar : public qm::fw::ProgressCtrl {
 public:
  // Sets the position and has the whole bar drawn at the next paint, unless
  // the bar on the screen already shows what the new position looks like
  // (the same fill edge and the same percentage): a copy of tens of
  // thousands of files moves the bar tens of thousands of times, yet only
  // a few hundred of those moves change a pixel.
  void SetPosAndRedraw(int position);
  // Sets the position and leaves the bar on the screen as it is, until a
  // later SetPosAndRedraw or ShowPos.
  void SetPosQuietly(int position);
  // Has the whole bar drawn at the next paint, unless the screen already
  // shows the position's picture.
  void ShowPos();

 protected:
  void OnPaint() override;

 private:
  // What a paint draws, in full: the fill edge's column and the text.
  struct Picture {
    int fill = 0;
    int percent = 0;
    bool operator==(const Picture&) const = default;
  };
  // Nothing for a range that leaves the bar undrawn.
  std::optional<Picture> PictureOf(int position, int width) const;

  std::optional<Picture> painted;  // the last picture the screen got

  // The buffer keeps the size the control had at its first paint. The DC
  // goes before the bitmap selected into it.
  qm::fw::Bitmap bufferBitmap;
  qm::fw::DC memoryDC;
  bool bufferReady = false;
};
